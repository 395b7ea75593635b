#pragma once
// One running instance per name: an advisory lock on a file named after the
// instance in $XDG_RUNTIME_DIR (else /tmp). The lock lives as long as the
// object, and ends with the process whatever way it ends.

#include <string>

namespace orvis::platform {

class InstanceLock {
 public:
  explicit InstanceLock(const std::string& name);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // False when another process holds the name.
  bool acquired() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace orvis::platform
