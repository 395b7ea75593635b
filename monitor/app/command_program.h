#pragma once
// The verbs of the monitor's command line as a program runs them: on the
// real system, in the program's own folder, with no window and no toolkit.

#include <string>

#include "command_line.h"

namespace orvis {

// Runs a verb (anything but CommandLine::Verb::Start); the exit status.
// `program` is the name the program was started by, for the usage text.
int runCommandLine(const CommandLine& command, const std::string& program);

}  // namespace orvis
