#pragma once
// Ending the program: the host's event loop is asked to quit; whoever asks
// has nothing left to do afterwards.

namespace orvis::postiva {

class ProgramEnd {
 public:
  virtual ~ProgramEnd() = default;
  // 0 when every message went out, 1 when the run failed or was aborted.
  virtual void endProgram(int exitCode) = 0;
};

}  // namespace orvis::postiva
