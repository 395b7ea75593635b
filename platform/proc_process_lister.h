#pragma once
// Processes from /proc: parent pid from /proc/N/stat; name the base name of
// /proc/N/exe where readable, else of argv[0], else the kernel's comm.

#include <string>

#include "process_lister.h"

namespace orvis::platform {

class ProcProcessLister : public ProcessLister {
 public:
  // `procRoot` is "/proc" but for tests.
  explicit ProcProcessLister(std::string procRoot = "/proc") : root_(std::move(procRoot)) {}
  std::vector<ProcessEntry> list() const override;

 private:
  std::string root_;
};

}  // namespace orvis::platform
