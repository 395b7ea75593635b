#pragma once
// One running instance per name: an advisory lock on a file named after the
// instance in $XDG_RUNTIME_DIR, or in /tmp when that folder is not set or
// cannot hold the lock file. The lock lives as long as the object, and ends
// with the process whatever way it ends.

#include <string>
#include <vector>

namespace orvis::platform {

class InstanceLock {
 public:
  enum class Outcome {
    Acquired,
    HeldElsewhere,  // another process holds the name
    Failed,         // no place could hold the lock file; error() says why
  };

  explicit InstanceLock(const std::string& name);
  // Tries the folders in order. A missing folder is made (as the toolkit
  // makes a missing runtime folder later anyway: the lock must not move
  // there once it exists); a folder that cannot hold the lock file is passed
  // over; a lock held by another process ends the search.
  InstanceLock(const std::string& name, const std::vector<std::string>& folders);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // $XDG_RUNTIME_DIR when set, then /tmp.
  static std::vector<std::string> defaultFolders();

  Outcome outcome() const { return outcome_; }
  bool acquired() const { return outcome_ == Outcome::Acquired; }
  // The lock file in use, or the last one tried.
  const std::string& path() const { return path_; }
  // Every place that could not hold the lock file and why
  // ("path: reason; ..."), CP932 for the log.
  const std::string& error() const { return error_; }

 private:
  std::string path_;
  std::string error_;
  Outcome outcome_ = Outcome::Failed;
  int fd_ = -1;
};

}  // namespace orvis::platform
