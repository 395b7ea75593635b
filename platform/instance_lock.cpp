#include "instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "codec.h"

namespace orvis::platform {
namespace {

// Like `mkdir -p -m 0700`; errno tells why when it fails.
bool makePrivateFolders(const std::string& folder) {
  for (size_t slash = folder.find('/', 1); slash != std::string::npos;
       slash = folder.find('/', slash + 1)) {
    std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> InstanceLock::defaultFolders() {
  std::vector<std::string> folders;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) folders.emplace_back(runtime);
  folders.emplace_back("/tmp");
  return folders;
}

InstanceLock::InstanceLock(const std::string& name) : InstanceLock(name, defaultFolders()) {}

InstanceLock::InstanceLock(const std::string& name, const std::vector<std::string>& folders) {
  for (std::string folder : folders) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    path_ = folder + name + ".lock";
    int fd = -1;
    if (makePrivateFolders(folder)) fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      outcome_ = Outcome::Acquired;
      return;
    }
    int err = errno;
    if (fd >= 0) ::close(fd);
    // Only a lock that someone holds means another instance; a folder that
    // cannot be made or is closed to us says nothing about one.
    if (fd >= 0 && err == EWOULDBLOCK) {
      outcome_ = Outcome::HeldElsewhere;
      error_.clear();
      return;
    }
    if (!error_.empty()) error_ += "; ";
    error_ += toCp932(path_ + ": " + std::strerror(err));
  }
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace orvis::platform
