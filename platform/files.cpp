#include "files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <utility>

#include "bytes.h"
#include "codec.h"
#include "open_file.h"

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
  return openFolder(path, true).ok();
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

}  // namespace

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

std::optional<std::string> readFile(const std::string& path, uint64_t maxBytes) {
  OpenFile file = openFile(path, OpenFor::Reading);
  if (!file.ok()) return std::nullopt;
  const int fd = file.fd();
  struct stat st;
  if (::fstat(fd, &st) != 0) return std::nullopt;
  if (static_cast<uint64_t>(st.st_size) > maxBytes) return std::nullopt;
  std::string out;
  if (st.st_size > 0) out.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  while (true) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
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
  OpenFile file = openFile(path, OpenFor::Reading);
  if (!file.ok()) return std::strerror(file.error());
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
  OpenFile file = openFile(path, OpenFor::Writing);
  if (!file.ok()) return errno = file.error(), false;
  return writeAll(file.fd(), bytes.data(), bytes.size());
}

namespace {

struct PlaceInFolder {
  std::string folder, name;
};

PlaceInFolder placeOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
}

// ".name.XXXXXX": the form removeLeftTemporaries looks for.
std::string temporaryName(const std::string& name) {
  static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char random[6] = {};
  if (::getrandom(random, sizeof random, 0) != sizeof random)
    for (unsigned char& r : random) r = static_cast<unsigned char>(std::rand());
  std::string out = "." + name + ".";
  for (unsigned char r : random) out += kChars[r % (sizeof kChars - 1)];
  return out;
}

// The folder of a file about to be replaced, and the mode the new file
// gets: the permissions of the file it replaces, unless it holds a
// password. Below the data folder, a link in place of `path` is refused
// rather than replaced (nullopt, errno set).
struct Replacement {
  PlaceInFolder place;
  OpenFile folder;
  mode_t mode = 0644;
};

std::optional<Replacement> prepareReplacement(const std::string& path, FileAccess access) {
  Replacement r{placeOf(path), {}, 0644};
  if (r.place.name.empty()) return errno = EISDIR, std::nullopt;
  r.folder = openFolder(r.place.folder);
  if (!r.folder.ok()) return errno = r.folder.error(), std::nullopt;
  struct stat st;
  const bool present =
      ::fstatat(r.folder.fd(), r.place.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
  if (present && S_ISLNK(st.st_mode) && belowDataFolder(path)) {
    reportRefusal(OpenRefusal::ThroughLink, path);
    return errno = ELOOP, std::nullopt;
  }
  if (access == FileAccess::OwnerOnly)
    r.mode = 0600;
  else if (present && S_ISREG(st.st_mode))
    r.mode = st.st_mode & 07777;
  return r;
}

// A new file of temporary name beside the one replaced, the owner's alone
// from its creation, so a private file is never open to others, not even
// for a moment; -1 with errno when none could be made.
int createTemporary(int dir, const std::string& name, std::string& temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = temporaryName(name);
    const int fd =
        ::openat(dir, temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// A file in the folder that no name leads to (O_TMPFILE); -1 where the
// file system has none.
int createUnnamed(int dir) { return ::openat(dir, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600); }

// Renames the temporary file over the one replaced and flushes the folder,
// so that the rename itself survives a power cut (some file systems refuse
// to flush a folder; that is no error). On failure the temporary goes.
bool renameIntoPlace(int dir, const std::string& temp, const std::string& name) {
  if (::renameat(dir, temp.c_str(), dir, name.c_str()) == 0) {
    ::fsync(dir);
    return true;
  }
  const int err = errno;
  ::unlinkat(dir, temp.c_str(), 0);
  errno = err;
  return false;
}

// Writes a temporary file beside `path` with `fill`, flushes it and renames
// it over `path`. On any failure the temporary file goes, `path` stays as it
// was, and errno says why.
template <typename Fill>
bool replaceWhole(const std::string& path, FileAccess access, Fill fill) {
  std::optional<Replacement> r = prepareReplacement(path, access);
  if (!r) return false;
  const int dir = r->folder.fd();
  std::string temp;
  const int fd = createTemporary(dir, r->place.name, temp);
  if (fd < 0) return false;
  Fd file(fd);
  bool ok = ::fchmod(fd, r->mode) == 0 && fill(fd) && ::fsync(fd) == 0;
  ok = (::close(file.release()) == 0) && ok;
  if (ok) return renameIntoPlace(dir, temp, r->place.name);
  const int err = errno;
  ::unlinkat(dir, temp.c_str(), 0);
  errno = err;
  return false;
}

}  // namespace

bool writeFileAtomic(const std::string& path, const std::string& bytes, FileAccess access) {
  return replaceWhole(path, access,
                      [&bytes](int fd) { return writeAll(fd, bytes.data(), bytes.size()); });
}

StagedFile::StagedFile(std::string path) : path_(std::move(path)) {
  const PlaceInFolder place = placeOf(path_);
  folder_ = openFolder(place.folder);
  if (!folder_.ok() || place.name.empty()) return;
  int fd = createUnnamed(folder_.fd());
  if (fd < 0) fd = createTemporary(folder_.fd(), place.name, temporary_);
  file_ = OpenFile(fd, fd < 0 ? OpenRefusal::System : OpenRefusal::None, fd < 0 ? errno : 0);
}

StagedFile::~StagedFile() {
  if (!temporary_.empty()) ::unlinkat(folder_.fd(), temporary_.c_str(), 0);
}

bool StagedFile::write(std::string_view bytes) {
  failed_ = failed_ || !file_.ok() || !writeAll(file_.fd(), bytes.data(), bytes.size());
  return ok();
}

bool StagedFile::restart() {
  failed_ = failed_ || !file_.ok() || ::ftruncate(file_.fd(), 0) != 0 ||
            ::lseek(file_.fd(), 0, SEEK_SET) != 0;
  return ok();
}

bool StagedFile::readBack(const std::function<void(std::string_view)>& take) const {
  if (!ok()) return false;
  std::vector<char> buffer(size_t(256) << 10);
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(file_.fd(), buffer.data(), buffer.size(), at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    take(std::string_view(buffer.data(), static_cast<size_t>(n)));
    at += n;
  }
}

bool StagedFile::commit() {
  if (!ok()) return false;
  std::optional<Replacement> r = prepareReplacement(path_, FileAccess::Usual);
  failed_ = !r || ::fchmod(file_.fd(), r->mode) != 0 || ::fsync(file_.fd()) != 0;
  if (failed_) return false;
  const int dir = r->folder.fd();
  if (temporary_.empty()) {
    // Where nothing is in the way, the link itself puts the whole file in
    // place; otherwise it gets a temporary name and replaces what is there.
    const std::string self = "/proc/self/fd/" + std::to_string(file_.fd());
    auto link = [&](const std::string& name) {
      return ::linkat(AT_FDCWD, self.c_str(), dir, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
    };
    if (link(r->place.name)) {
      ::fsync(dir);
      return true;
    }
    for (int attempt = 0; attempt < 100 && temporary_.empty(); ++attempt) {
      const std::string temp = temporaryName(r->place.name);
      if (link(temp))
        temporary_ = temp;
      else if (errno != EEXIST)
        break;
    }
    if (temporary_.empty()) return failed_ = true, false;
  }
  const std::string temp = std::exchange(temporary_, std::string());
  failed_ = !renameIntoPlace(dir, temp, r->place.name);
  return !failed_;
}

bool appendExclusive(const std::string& path, const std::string& bytes) {
  OpenFile file = openFile(path, OpenFor::Appending);
  if (!file.ok()) return errno = file.error(), false;
  // Another writer holds the file only for the moment of one write; give it
  // that moment instead of losing the line, but never wait long.
  bool locked = false;
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (::flock(file.fd(), LOCK_EX | LOCK_NB) == 0) {
      locked = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!locked) return false;
  return writeAll(file.fd(), bytes.data(), bytes.size());
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
    if (removeFile(path)) removed.push_back(path);
  }
  return removed;
}

bool copyFile(const std::string& from, const std::string& to) {
  OpenFile in = openFile(from, OpenFor::Reading);
  if (!in.ok()) return errno = in.error(), false;
  struct stat st;
  if (::fstat(in.fd(), &st) != 0) return false;
  return replaceWhole(to, FileAccess::Usual, [&in, &st](int out) {
    char buffer[65536];
    while (true) {
      ssize_t n = ::read(in.fd(), buffer, sizeof buffer);
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

bool removeFile(const std::string& path) {
  if (!belowDataFolder(path)) return ::unlink(path.c_str()) == 0;
  // Never a file through a linked folder; a link itself goes as a link.
  const PlaceInFolder place = placeOf(path);
  OpenFile folder = openFolder(place.folder);
  if (!folder.ok()) return errno = folder.error(), false;
  return ::unlinkat(folder.fd(), place.name.c_str(), 0) == 0;
}

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
