#pragma once
// A deadline with a fixed time left; it has passed once asked `passAfter`
// times.

#include "platform/deadline.h"

namespace orvis::testing {

class FakeDeadline : public platform::Deadline {
 public:
  long long remainingMs() const override {
    bool passed = passAfter >= 0 && asked_ >= passAfter;
    ++asked_;
    return passed ? 0 : left;
  }
  long long left = 120000;
  int passAfter = -1;  // never

 private:
  mutable int asked_ = 0;
};

}  // namespace orvis::testing
