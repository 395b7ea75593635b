#include "file_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/codec.h"

namespace orvis {
namespace {

// What the listing gathers before it hands the lines on.
constexpr std::size_t kPieceBytes = std::size_t{256} << 10;

// A name as the snapshot holds it: CP932, one line per file whatever the
// name holds. A name CP932 holds stays exactly as it is, so that baselines
// keep comparing equal; any other is kept apart from its neighbours by
// numeric references (a "?" for each would make two files one entry, and
// a deletion beside an addition would go unseen), line breaks included.
std::string snapshotText(const std::string& utf8) {
  bool plain = std::all_of(utf8.begin(), utf8.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x80 && c != '\r' && c != '\n';
  });
  if (plain) return utf8;
  std::string oneLine;
  for (char c : utf8) {
    if (c == '\r')
      oneLine += "&#xD;";
    else if (c == '\n')
      oneLine += "&#xA;";
    else
      oneLine += c;
  }
  return platform::toCp932Distinct(oneLine);
}

void twoDigits(char* at, int v) {
  at[0] = static_cast<char>('0' + v / 10 % 10);
  at[1] = static_cast<char>('0' + v % 10);
}

struct Entry {
  std::string name;
  unsigned char type;
};

class Folder {
 public:
  explicit Folder(const std::string& path)
      : fd_(::open(path.empty() ? "/" : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
  ~Folder() {
    if (dir_)
      ::closedir(dir_);
    else if (fd_ >= 0)
      ::close(fd_);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  int fd() const { return fd_; }
  DIR* stream() {
    if (!dir_ && fd_ >= 0) dir_ = ::fdopendir(fd_);
    return dir_;
  }

 private:
  int fd_;
  DIR* dir_ = nullptr;
};

}  // namespace

const std::string& FileListing::stamp(time_t seconds) {
  if (stampSeconds_ == seconds) return stampText_;
  stampSeconds_ = seconds;
  struct tm t;
  if (!::localtime_r(&seconds, &t) || t.tm_year + 1900 < 0 || t.tm_year + 1900 > 9999) {
    // Not expressible in the 19 characters of a stamp.
    stampText_ = kNoTime;
    return stampText_;
  }
  char text[] = "0000/00/00 00:00:00";
  int year = t.tm_year + 1900;
  twoDigits(text, year / 100);
  twoDigits(text + 2, year % 100);
  twoDigits(text + 5, t.tm_mon + 1);
  twoDigits(text + 8, t.tm_mday);
  twoDigits(text + 11, t.tm_hour);
  twoDigits(text + 14, t.tm_min);
  twoDigits(text + 17, t.tm_sec);
  stampText_ = text;
  return stampText_;
}

std::optional<std::string> FileListing::list(const std::string& target, bool subfolders) {
  std::string out;
  auto append = [&out](std::string_view piece) {
    out += piece;
    return true;
  };
  if (!listTo(target, subfolders, append)) return std::nullopt;
  return out;
}

bool FileListing::listTo(const std::string& target, bool subfolders, const Writer& write) {
  givenUp_ = false;
  write_ = &write;
  handedOn_ = false;
  piece_.clear();
  piece_.reserve(kPieceBytes + 4096);
  if (!target.empty()) {
    std::filesystem::path p(target);
    if (p.is_relative()) p = std::filesystem::path(dataFolder_) / p;
    std::string path = p.lexically_normal().string();
    while (!path.empty() && path.back() == '/') path.pop_back();
    struct stat st;
    if (::stat(path.empty() ? "/" : path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      walk(path, snapshotText(path), WildcardMask("*"), subfolders);
    } else if (!path.empty()) {
      size_t slash = path.rfind('/');
      std::string folder = path.substr(0, slash);
      walk(folder, snapshotText(folder), WildcardMask(path.substr(slash + 1)), subfolders);
    }
  }
  if (!givenUp_ && !handedOn_ && piece_.empty()) piece_ = "@\r\n";
  const bool whole = !givenUp_ && handOn();
  write_ = nullptr;
  piece_ = std::string();
  return whole;
}

bool FileListing::handOn() {
  if (piece_.empty()) return true;
  handedOn_ = true;
  const bool written = (*write_)(piece_);
  piece_.clear();
  if (!written) givenUp_ = true;
  return written;
}

void FileListing::walk(const std::string& folder, const std::string& folderText,
                       const WildcardMask& mask, bool subfolders) {
  std::vector<std::string> below;
  {
    Folder dir(folder);
    DIR* stream = dir.stream();
    if (!stream) return;
    std::vector<Entry> entries;
    while (const dirent* e = ::readdir(stream)) {
      if (!throttle_.tick()) {
        givenUp_ = true;
        return;
      }
      const char* name = e->d_name;
      if (name[0] == '.') {
        if (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')) continue;
        if (!mask.asksForDotNames()) continue;
      }
      entries.push_back(Entry{name, e->d_type});
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });

    for (const Entry& entry : entries) {
      if (!throttle_.tick()) {
        givenUp_ = true;
        return;
      }
      unsigned char type = entry.type;
      struct stat st;
      bool known = false;  // st holds the entry's (followed) status
      if (type == DT_UNKNOWN) {
        if (::fstatat(dir.fd(), entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
        known = type == DT_REG;
      }
      if (type == DT_LNK) {
        known = ::fstatat(dir.fd(), entry.name.c_str(), &st, 0) == 0;
        if (known && S_ISDIR(st.st_mode)) continue;
        // A dangling link is still a file of the folder, without a time.
        type = DT_REG;
      }
      if (type == DT_DIR) {
        if (subfolders && entry.name[0] != '.') below.push_back(entry.name);
        continue;
      }
      if (!mask.matches(entry.name)) continue;
      if (!known) known = ::fstatat(dir.fd(), entry.name.c_str(), &st, 0) == 0;
      if (known)
        piece_ += stamp(st.st_mtim.tv_sec);
      else
        piece_ += kNoTime;
      piece_ += '@';
      piece_ += folderText;
      piece_ += '/';
      piece_ += snapshotText(entry.name);
      piece_ += "\r\n";
      if (piece_.size() >= kPieceBytes && !handOn()) return;
    }
  }
  // Each folder is closed before its sub-folders are opened, so a deep tree
  // never holds more than one open folder.
  for (const std::string& name : below) {
    if (givenUp_) return;
    walk(folder + "/" + name, folderText + "/" + snapshotText(name), mask, subfolders);
  }
}

}  // namespace orvis
