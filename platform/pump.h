#pragma once
// "Let queued window messages run": one call of the host's event pump. The
// programs hand in the toolkit's pump, tests a counting fake.

namespace orvis::platform {

class Pump {
 public:
  virtual ~Pump() = default;
  virtual void processEvents() = 0;
};

// For hosts without an event loop.
class NoPump : public Pump {
 public:
  void processEvents() override {}
};

}  // namespace orvis::platform
