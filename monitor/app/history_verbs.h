#pragma once
// The verbs --history and --diff: a job's stored versions, and what
// changed between two of them, for a terminal or a script. They read the
// files of the data folder and write nothing (not even a log line), so
// they run beside a monitor and take no lock.

#include <ostream>
#include <string>

#include "command_line.h"

namespace orvis {

// The exit status: see exitcode::kSame and the ones after it.
int runHistoryCommand(const CommandLine& command, const std::string& dataFolder, std::ostream& out,
                      std::ostream& err);

}  // namespace orvis
