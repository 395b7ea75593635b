#pragma once
// Ends the program by asking Qt's event loop to quit with the exit code.

#include <QCoreApplication>

#include "mailsender/program_end.h"

namespace orvis::postiva {

class QtProgramEnd : public ProgramEnd {
 public:
  void endProgram(int exitCode) override { QCoreApplication::exit(exitCode); }
};

}  // namespace orvis::postiva
