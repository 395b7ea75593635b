#include "open_beneath.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <vector>

namespace orvis::platform {
namespace {

std::vector<std::string> componentsOf(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// A step that failed on a link says so, whatever error the open gave (a
// link where a folder is wanted reads as "not a folder").
int stepFailed(int folderFd, const std::string& name) {
  const int err = errno;
  struct stat st;
  if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
    errno = ELOOP;
  else
    errno = err;
  return -1;
}

// Closes the descriptor it owns, keeping errno.
class Step {
 public:
  explicit Step(int fd) : fd_(fd), owned_(false) {}
  ~Step() { drop(); }
  Step(const Step&) = delete;
  Step& operator=(const Step&) = delete;
  int fd() const { return fd_; }
  void moveTo(int fd) {
    drop();
    fd_ = fd;
    owned_ = true;
  }

 private:
  void drop() {
    if (!owned_) return;
    const int err = errno;
    ::close(fd_);
    errno = err;
  }
  int fd_;
  bool owned_;
};

// Cleared once the kernel has said it has no openat2.
std::atomic<bool> kernelResolves{true};

int openByKernel(int folderFd, const std::string& relative, int flags, unsigned mode) {
  open_how how{};
  how.flags = static_cast<unsigned long long>(flags | O_CLOEXEC);
  how.mode = (flags & O_CREAT) ? mode : 0;
  how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_BENEATH;
  const char* name = relative.empty() ? "." : relative.c_str();
  while (true) {
    const long fd = ::syscall(SYS_openat2, folderFd, name, &how, sizeof how);
    if (fd >= 0 || errno != EINTR) return static_cast<int>(fd);
  }
}

int openByWalk(int folderFd, const std::string& relative, int flags, unsigned mode) {
  const std::vector<std::string> parts = componentsOf(relative);
  if (parts.empty()) return ::openat(folderFd, ".", flags | O_CLOEXEC, mode);
  Step at(folderFd);
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    if (parts[i] == "..") return errno = EXDEV, -1;
    const int next =
        ::openat(at.fd(), parts[i].c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0) return stepFailed(at.fd(), parts[i]);
    at.moveTo(next);
  }
  const std::string& last = parts.back();
  if (last == "..") return errno = EXDEV, -1;
  const int fd = ::openat(at.fd(), last.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
  return fd >= 0 ? fd : stepFailed(at.fd(), last);
}

}  // namespace

std::optional<std::string> normalizeBelow(std::string_view relative) {
  std::vector<std::string> kept;
  for (std::string& part : componentsOf(relative)) {
    if (part == ".") continue;
    if (part != "..") {
      kept.push_back(std::move(part));
    } else if (kept.empty()) {
      return std::nullopt;
    } else {
      kept.pop_back();
    }
  }
  std::string out;
  for (const std::string& part : kept) out += (out.empty() ? "" : "/") + part;
  return out;
}

int openBeneath(int folderFd, std::string_view relative, int flags, unsigned mode, bool byKernel) {
  const std::string path(relative);
  if (byKernel && kernelResolves.load()) {
    const int fd = openByKernel(folderFd, path, flags, mode);
    if (fd >= 0 || errno != ENOSYS) return fd;
    kernelResolves.store(false);
  }
  return openByWalk(folderFd, path, flags, mode);
}

int makeFoldersBeneath(int folderFd, std::string_view relative) {
  Step at(folderFd);
  for (const std::string& part : componentsOf(relative)) {
    if (part == "..") return errno = EXDEV, -1;
    if (part == ".") continue;
    int next = ::openat(at.fd(), part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0 && errno == ENOENT) {
      // Another writer may make it at the same moment.
      if (::mkdirat(at.fd(), part.c_str(), 0777) != 0 && errno != EEXIST) return -1;
      next = ::openat(at.fd(), part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (next < 0) return stepFailed(at.fd(), part);
    at.moveTo(next);
  }
  return ::openat(at.fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

}  // namespace orvis::platform
