#include "instance_lock.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sstream>

#include "bytes.h"
#include "codec.h"
#include "files.h"
#include "open_file.h"

namespace orvis::platform {
namespace {

std::string localStamp() {
  const time_t now = ::time(nullptr);
  struct tm tm {};
  ::localtime_r(&now, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &tm);
  return text;
}

// A lock file made by root (a run by hand) stays the folder owner's, so that
// the service's own user can take the lock afterwards; and it stays closed
// to everyone else.
void keepPrivate(int fd, const std::string& dataFolder) {
  struct stat file, folder;
  if (::fstat(fd, &file) != 0) return;
  if (::geteuid() == 0 && ::stat(dataFolder.c_str(), &folder) == 0 && file.st_uid != folder.st_uid)
    (void)!::fchown(fd, folder.st_uid, folder.st_gid);
  if ((file.st_mode & 07777) != 0600) (void)!::fchmod(fd, 0600);
}

void writeHolder(int fd, LockRole role) {
  const std::string text = "pid=" + std::to_string(::getpid()) + "\nrole=" + lockRoleName(role) +
                           "\nstarted=" + localStamp() + "\n";
  if (::ftruncate(fd, 0) == 0) (void)!::pwrite(fd, text.data(), text.size(), 0);
}

std::string fileText(int fd) {
  char buffer[4096];
  const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

// The pid of the process holding a flock on the file (device, inode), from
// the kernel's lines "1: FLOCK  ADVISORY  WRITE 1234 fe:00:5349811 0 EOF"
// (waiters' lines carry "->" and hold nothing).
std::optional<int> flockHolder(dev_t device, ino_t inode) {
  const std::optional<std::string> table = readFile("/proc/locks");
  if (!table) return std::nullopt;
  std::istringstream lines(*table);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string number, type, kind, access, pid, id;
    if (!(words >> number >> type >> kind >> access >> pid >> id) || type != "FLOCK") continue;
    unsigned major = 0, minor = 0;
    unsigned long long ino = 0;
    if (std::sscanf(id.c_str(), "%x:%x:%llu", &major, &minor, &ino) != 3) continue;
    if (major == ::major(device) && minor == ::minor(device) && ino == inode) return parseInt(pid);
  }
  return std::nullopt;
}

}  // namespace

const char* lockRoleName(LockRole role) { return role == LockRole::Monitor ? "monitor" : "verb"; }

InstanceLock::InstanceLock(const std::string& dataFolder, LockRole role) {
  std::string folder = dataFolder;
  if (folder.empty() || folder.back() != '/') folder += '/';
  path_ = folder + kFileName;
  OpenFile file = openFileIn(folder, kFileName, OpenFor::Updating, 0600);
  int err = file.error();
  if (file.ok()) {
    if (::flock(file.fd(), LOCK_EX | LOCK_NB) == 0) {
      keepPrivate(file.fd(), folder);
      writeHolder(file.fd(), role);
      fd_ = file.release();
      outcome_ = Outcome::Acquired;
      return;
    }
    err = errno;
    if (err == EWOULDBLOCK) {
      outcome_ = Outcome::HeldElsewhere;
      return;
    }
  }
  error_ = toCp932(path_ + ": " + std::strerror(err));
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

std::optional<LockHolder> lockHolder(const std::string& dataFolder) {
  const OpenFile file = openFileIn(dataFolder, InstanceLock::kFileName, OpenFor::Reading);
  struct stat st;
  if (!file.ok() || ::fstat(file.fd(), &st) != 0) return std::nullopt;
  const std::optional<int> pid = flockHolder(st.st_dev, st.st_ino);
  if (!pid) return std::nullopt;
  LockHolder holder;
  holder.pid = *pid;
  // What the file says belongs to the holder only when it names its pid: a
  // new holder writes it a moment after it has taken the lock.
  std::string filePid, role, started;
  for (const std::string& line : splitLines(fileText(file.fd()))) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "pid") filePid = value;
    if (key == "role") role = value;
    if (key == "started") started = value;
  }
  if (filePid == std::to_string(*pid)) {
    holder.role = role;
    holder.started = started;
  }
  return holder;
}

}  // namespace orvis::platform
