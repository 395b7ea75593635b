#pragma once
// How a long piece of work on two history entries tells its host how far
// it has come, and learns whether to go on: the window runs it away from
// its own thread and may give it up; a command runs it to the end.

namespace orvis {

class WorkProgress {
 public:
  virtual ~WorkProgress() = default;
  // `done` from 0 to 1. False: give up now.
  virtual bool step(double done) = 0;
};

// A host that waits for the end.
class UnwatchedWork : public WorkProgress {
 public:
  bool step(double) override { return true; }
};

}  // namespace orvis
