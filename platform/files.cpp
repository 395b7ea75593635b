#include "files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include "bytes.h"
#include "codec.h"

namespace orvis::platform {

std::string executableFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  std::string folder = exe.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

bool pathExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool fileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folderExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeFolders(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return folderExists(path);
}

namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  int release() {
    int f = fd_;
    fd_ = -1;
    return f;
  }

 private:
  int fd_;
};

bool writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::optional<std::string> readFile(const std::string& path, uint64_t maxBytes) {
  // Not blocking: opening a pipe for reading would wait for a writer.
  Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.ok()) return std::nullopt;
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  if (static_cast<uint64_t>(st.st_size) > maxBytes) return std::nullopt;
  std::string out;
  if (st.st_size > 0) out.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  while (true) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    out.append(buffer, static_cast<size_t>(n));
    // A file that grows while it is read (or claims no size, as under
    // /proc) is held to the same limit.
    if (out.size() > maxBytes) return std::nullopt;
  }
  return out;
}

std::string unreadableReason(const std::string& path, uint64_t maxBytes) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::strerror(errno);
  if (!S_ISREG(st.st_mode)) return SJIS("通常のファイルではありません");
  if (static_cast<uint64_t>(st.st_size) > maxBytes)
    return SJIS("大きすぎます(") + std::to_string(st.st_size) + SJIS("バイト、上限") +
           std::to_string(maxBytes) + SJIS("バイト)");
  Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.ok()) return std::strerror(errno);
  return readFile(path, maxBytes) ? std::string() : SJIS("読み込み中に失敗しました");
}

std::optional<std::vector<std::string>> readLines(const std::string& path) {
  auto text = readFile(path);
  if (!text) return std::nullopt;
  return splitLines(*text);
}

std::string readFirstLine(const std::string& path) {
  auto lines = readLines(path);
  return lines && !lines->empty() ? lines->front() : std::string();
}

bool writeFile(const std::string& path, const std::string& bytes) {
  Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!fd.ok()) return false;
  return writeAll(fd.get(), bytes.data(), bytes.size());
}

namespace {

// Flushes the folder, so that a rename or a new entry in it survives a
// power cut. Some file systems refuse to flush a folder; that is no error.
void syncFolder(const std::string& folder) {
  Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.ok()) ::fsync(fd.get());
}

// Writes a temporary file beside `path` with `fill`, flushes it and renames
// it over `path`. On any failure the temporary file goes and `path` stays as
// it was.
template <typename Fill>
bool replaceWhole(const std::string& path, FileAccess access, Fill fill) {
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".")
                             : slash == 0               ? std::string("/")
                                                        : path.substr(0, slash);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string temp = folder;
  temp.append("/.").append(base).append(".XXXXXX");
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  Fd fd(::mkstemp(name.data()));
  if (!fd.ok()) return false;
  std::string tempPath(name.data());
  // Keep the permissions of the file being replaced. The temporary file is
  // the owner's alone from its creation, so a private file is never open to
  // others, not even for a moment.
  struct stat st;
  mode_t mode = 0644;
  if (access == FileAccess::OwnerOnly)
    mode = 0600;
  else if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
    mode = st.st_mode & 07777;
  bool ok = ::fchmod(fd.get(), mode) == 0 && fill(fd.get()) && ::fsync(fd.get()) == 0;
  ok = (::close(fd.release()) == 0) && ok;
  if (ok && ::rename(tempPath.c_str(), path.c_str()) == 0) {
    syncFolder(folder);
    return true;
  }
  ::unlink(tempPath.c_str());
  return false;
}

}  // namespace

bool writeFileAtomic(const std::string& path, const std::string& bytes, FileAccess access) {
  return replaceWhole(path, access,
                      [&bytes](int fd) { return writeAll(fd, bytes.data(), bytes.size()); });
}

bool appendExclusive(const std::string& path, const std::string& bytes) {
  Fd fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
  if (!fd.ok()) return false;
  // Another writer holds the file only for the moment of one write; give it
  // that moment instead of losing the line, but never wait long.
  bool locked = false;
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
      locked = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!locked) return false;
  return writeAll(fd.get(), bytes.data(), bytes.size());
}

std::vector<std::string> removeLeftTemporaries(const std::string& folder,
                                               const std::string& nameMask, int minAgeSeconds) {
  std::vector<std::string> removed;
  std::string prefix = folder;
  if (!prefix.empty() && prefix.back() != '/') prefix += '/';
  const time_t now = ::time(nullptr);
  for (const std::string& name : listFolder(folder, "." + nameMask + ".??????")) {
    const std::string suffix = name.substr(name.size() - 6);
    if (!std::all_of(suffix.begin(), suffix.end(), [](char c) { return std::isalnum(c & 0xFF); }))
      continue;
    struct stat st;
    const std::string path = prefix + name;
    if (::stat(path.c_str(), &st) != 0 || now - st.st_mtime <= minAgeSeconds) continue;
    if (::unlink(path.c_str()) == 0) removed.push_back(path);
  }
  return removed;
}

bool copyFile(const std::string& from, const std::string& to) {
  Fd in(::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!in.ok()) return false;
  struct stat st;
  if (::fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return replaceWhole(to, FileAccess::Usual, [&in, &st](int out) {
    char buffer[65536];
    while (true) {
      ssize_t n = ::read(in.get(), buffer, sizeof buffer);
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      // The copy keeps its source's last-write time, as a copy on Windows
      // does: a generation then tells when it became the baseline, not
      // when it last moved up.
      if (n == 0) {
        const timespec times[2] = {st.st_atim, st.st_mtim};
        return ::futimens(out, times) == 0;
      }
      if (!writeAll(out, buffer, static_cast<size_t>(n))) return false;
    }
  });
}

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

std::optional<uint64_t> fileSize(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

std::optional<FileTime> lastWriteTime(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  struct tm tm;
  time_t t = st.st_mtim.tv_sec;
  if (!::localtime_r(&t, &tm)) return std::nullopt;
  return FileTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

bool wildcardMatch(const std::string& mask, const std::string& name) {
  const std::string m = asciiLower(mask);
  const std::string s = asciiLower(name);
  // Iterative glob match with backtracking on the last '*'.
  size_t mi = 0, si = 0, star = std::string::npos, mark = 0;
  while (si < s.size()) {
    if (mi < m.size() && (m[mi] == '?' || m[mi] == s[si])) {
      ++mi;
      ++si;
    } else if (mi < m.size() && m[mi] == '*') {
      star = mi++;
      mark = si;
    } else if (star != std::string::npos) {
      mi = star + 1;
      si = ++mark;
    } else {
      return false;
    }
  }
  while (mi < m.size() && m[mi] == '*') ++mi;
  return mi == m.size();
}

std::vector<std::string> listFolder(const std::string& folder, const std::string& mask,
                                    bool filesOnly) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  std::string prefix = folder;
  if (!prefix.empty() && prefix.back() != '/') prefix += '/';
  while (struct dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    if (!wildcardMatch(mask, name)) continue;
    if (filesOnly) {
      bool isFile = e->d_type == DT_REG;
      if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) isFile = fileExists(prefix + name);
      if (!isFile) continue;
    }
    names.push_back(std::move(name));
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace orvis::platform
