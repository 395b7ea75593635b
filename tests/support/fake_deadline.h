#pragma once
// A deadline that stands still at the time left it was given; `passAfter`
// lets it pass once it has been asked that many times.

#include "platform/deadline.h"

namespace orvis::testing {

class FakeDeadline : public platform::Deadline {
 public:
  explicit FakeDeadline(long long remainingMs = 120000) : remaining_(remainingMs) {}
  long long remainingMs() const override {
    if (passAfter_ >= 0 && asked_++ >= passAfter_) return 0;
    return remaining_;
  }
  void set(long long remainingMs) { remaining_ = remainingMs; }
  void passAfter(int asks) {
    passAfter_ = asks;
    asked_ = 0;
  }

 private:
  long long remaining_;
  int passAfter_ = -1;
  mutable int asked_ = 0;
};

}  // namespace orvis::testing
