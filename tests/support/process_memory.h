#pragma once
// The memory figures of the running process, for benchmarks that print them.

#include <fstream>
#include <string>

namespace orvis::testing {

// The figure `field` of /proc/self/status ("VmRSS" resident now, "VmHWM" its
// peak) in kB; -1 when it cannot be read.
inline long processMemoryKb(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
  return -1;
}

}  // namespace orvis::testing
