#include "open_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>

#include "codec.h"
#include "open_beneath.h"

namespace orvis::platform {
namespace {

DataFolderGuard* current = nullptr;
std::mutex refusalMutex;
thread_local bool reporting = false;

int flagsFor(OpenFor purpose) {
  // Never wait: a pipe without a writer (or a reader) must not hold us.
  const int always = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  switch (purpose) {
    case OpenFor::Reading:
      return O_RDONLY | always;
    case OpenFor::Updating:
      return O_RDWR | O_CREAT | always;
    case OpenFor::Writing:
      return O_WRONLY | O_CREAT | always;
    case OpenFor::Appending:
      return O_WRONLY | O_APPEND | O_CREAT | always;
  }
  return O_RDONLY | always;
}

OpenRefusal refusalOf(int err, bool confined) {
  if (err == ENXIO) return OpenRefusal::NotRegularFile;  // a pipe with nobody at the other end
  if (confined && err == ELOOP) return OpenRefusal::ThroughLink;
  if (confined && err == EXDEV) return OpenRefusal::OutsideFolder;
  return OpenRefusal::System;
}

OpenFile failed(int err, bool confined) { return OpenFile(-1, refusalOf(err, confined), err); }

// What an open gave, kept only when it is a regular file; a file opened
// for writing is emptied only then.
OpenFile checked(int fd, OpenFor purpose, bool confined, const std::string& path) {
  if (fd < 0) {
    OpenFile f = failed(errno, confined);
    if (f.refusal() != OpenRefusal::System) reportRefusal(f.refusal(), path);
    return f;
  }
  OpenFile f(fd, OpenRefusal::None, 0);
  struct stat st;
  if (::fstat(fd, &st) != 0) return failed(errno, confined);
  if (!S_ISREG(st.st_mode)) {
    reportRefusal(OpenRefusal::NotRegularFile, path);
    return OpenFile(-1, OpenRefusal::NotRegularFile, ENXIO);
  }
  if (purpose == OpenFor::Writing && ::ftruncate(fd, 0) != 0) return failed(errno, confined);
  return f;
}

std::string withSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// The part of `path` below the data folder; nullopt when it lies elsewhere.
std::optional<std::string> belowCurrent(const std::string& path) {
  if (!current) return std::nullopt;
  const std::string& root = current->folder();
  if (path.compare(0, root.size(), root) == 0) return path.substr(root.size());
  if (path + "/" == root) return std::string();
  return std::nullopt;
}

OpenFile openFolderFd(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  return fd >= 0 ? OpenFile(fd, OpenRefusal::None, 0) : failed(errno, false);
}

}  // namespace

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
  if (this != &other) {
    reset();
    fd_ = other.fd_;
    refusal_ = other.refusal_;
    error_ = other.error_;
    other.fd_ = -1;
  }
  return *this;
}

int OpenFile::release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

void OpenFile::reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

OpenFile openFileIn(const std::string& folder, std::string_view name, OpenFor purpose,
                    unsigned createMode) {
  const std::string path = withSlash(folder) + std::string(name);
  const std::optional<std::string> below = normalizeBelow(name);
  if (!below) {
    reportRefusal(OpenRefusal::OutsideFolder, path);
    return OpenFile(-1, OpenRefusal::OutsideFolder, EXDEV);
  }
  OpenFile root = openFolderFd(folder);
  if (!root.ok()) return root;
  return checked(openBeneath(root.fd(), *below, flagsFor(purpose), createMode), purpose, true,
                 path);
}

OpenFile openFile(const std::string& path, OpenFor purpose, unsigned createMode) {
  // Reads follow links; only what is written is kept below the data folder.
  if (purpose != OpenFor::Reading) {
    if (auto below = belowCurrent(path))
      return openFileIn(current->folder(), *below, purpose, createMode);
  }
  return checked(::open(path.c_str(), flagsFor(purpose), createMode), purpose, false, path);
}

OpenFile openFolder(const std::string& path, bool create) {
  const std::optional<std::string> below = belowCurrent(path);
  if (!below) {
    if (create) {
      std::error_code ec;
      std::filesystem::create_directories(path, ec);
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd >= 0 ? OpenFile(fd, OpenRefusal::None, 0) : failed(errno, false);
  }
  const std::optional<std::string> relative = normalizeBelow(*below);
  if (!relative) {
    reportRefusal(OpenRefusal::OutsideFolder, path);
    return OpenFile(-1, OpenRefusal::OutsideFolder, EXDEV);
  }
  OpenFile root = openFolderFd(current->folder());
  if (!root.ok()) return root;
  const int fd = create ? makeFoldersBeneath(root.fd(), *relative)
                        : openBeneath(root.fd(), *relative, O_RDONLY | O_DIRECTORY, 0);
  if (fd >= 0) return OpenFile(fd, OpenRefusal::None, 0);
  OpenFile f = failed(errno, true);
  if (f.refusal() != OpenRefusal::System) reportRefusal(f.refusal(), path);
  return f;
}

bool belowDataFolder(const std::string& path) { return belowCurrent(path).has_value(); }

void reportRefusal(OpenRefusal refusal, const std::string& path) {
  // The log's own file refused: its line goes to the standard error anyway.
  if (reporting) return;
  std::string line;
  switch (refusal) {
    case OpenRefusal::NotRegularFile:
      line = SJIS("通常のファイルではないため使いません:");
      break;
    case OpenRefusal::ThroughLink:
      line = SJIS("シンボリックリンクを経由するため書き込みません:");
      break;
    case OpenRefusal::OutsideFolder:
      line = SJIS("データフォルダの外を指すため書き込みません:");
      break;
    case OpenRefusal::None:
    case OpenRefusal::System:
      return;
  }
  line += toCp932(path);
  DataFolderGuard::Log log;
  {
    static std::map<std::string, std::chrono::steady_clock::time_point> recent;
    std::lock_guard<std::mutex> hold(refusalMutex);
    const auto now = std::chrono::steady_clock::now();
    std::erase_if(recent,
                  [now](const auto& r) { return now - r.second >= std::chrono::minutes(1); });
    if (!recent.emplace(line, now).second) return;
    if (current) log = current->log_;
  }
  reporting = true;
  if (log)
    log(line);
  else
    writeLostLine(line);
  reporting = false;
}

DataFolderGuard::DataFolderGuard(std::string folder, Log log)
    : folder_(withSlash(std::move(folder))), log_(std::move(log)), previous_(current) {
  std::lock_guard<std::mutex> hold(refusalMutex);
  current = this;
}

DataFolderGuard::~DataFolderGuard() {
  std::lock_guard<std::mutex> hold(refusalMutex);
  current = previous_;
}

void DataFolderGuard::setLog(Log log) {
  std::lock_guard<std::mutex> hold(refusalMutex);
  log_ = std::move(log);
}

void writeLostLine(std::string_view cp932Line) {
  std::string line = toUtf8(cp932Line);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  line += '\n';
  (void)!::write(STDERR_FILENO, line.data(), line.size());
}

}  // namespace orvis::platform
