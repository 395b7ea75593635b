#pragma once
// The program has been asked to end: a termination signal, the end of the
// session, or the window closed while an action runs. Raised once and never
// lowered. Every wait and every pump of a long action looks at it after
// letting messages run, and gives up, so that the action returns before the
// stop sequence runs.

namespace orvis::platform {

class StopFlag {
 public:
  bool raised() const { return raised_; }
  void raise() { raised_ = true; }

 private:
  bool raised_ = false;
};

}  // namespace orvis::platform
