#pragma once
// File and folder operations as the system uses them: every file is opened
// for one operation and closed again, by the rules of openFile
// (open_file.h): nothing waits on a pipe or a device, and below the data
// folder nothing is written, replaced or removed through a symbolic link.

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "open_file.h"

namespace orvis::platform {

// The folder of the running program's executable, with a trailing '/'.
std::string executableFolder();

bool pathExists(const std::string& path);  // anything at all
bool fileExists(const std::string& path);  // a regular file
bool folderExists(const std::string& path);

// Creates the folder with every missing parent. True when it exists after
// (and, below the data folder, is reached without a link).
bool makeFolders(const std::string& path);

// The most a whole-file read takes in. A reader of the whole file would
// otherwise hold any amount in memory (a link to /dev/zero never ends).
inline constexpr uint64_t kWholeFileLimit = uint64_t{256} << 20;
// The most a settings file (INI, mode file, job file) may hold: hundreds of
// times what the system writes, small enough to parse at once.
inline constexpr uint64_t kSettingsFileLimit = uint64_t{16} << 20;

// The whole file; nullopt when it cannot be opened or read, when it is not
// a regular file (a pipe or a device would block the reader or never end),
// or when it holds more than `maxBytes`.
std::optional<std::string> readFile(const std::string& path, uint64_t maxBytes = kWholeFileLimit);

// Why readFile gives nothing for the path, for a log line (CP932): missing,
// not a regular file, too large, or the system's error text. Empty when the
// file reads.
std::string unreadableReason(const std::string& path, uint64_t maxBytes = kWholeFileLimit);

// The file's lines (a line ends at CR LF, LF or CR); nullopt when the file
// cannot be read.
std::optional<std::vector<std::string>> readLines(const std::string& path);

// The file's first line; empty when it cannot be read or holds no line.
std::string readFirstLine(const std::string& path);

// Replaces the file's content: truncate and write.
bool writeFile(const std::string& path, const std::string& bytes);

// Writes all the bytes to the open file `fd` (one from openFile), going on
// after a write cut short; false on an error of the system (errno tells).
bool writeAll(int fd, const char* data, size_t size);

// Who may read a file that is written.
enum class FileAccess {
  // A replaced file keeps its permissions; a new one is readable by all.
  Usual,
  // Readable and writable by the owner alone, new or replaced (a file that
  // holds a password).
  OwnerOnly,
};

// Replaces the file's content so that a reader sees the old file or the
// new one and never a part, even after a crash or a power cut: a temporary
// file in the same folder, flushed to the disk, renamed over the old one,
// and the folder flushed so that the rename itself is kept. A path that
// names a pipe is replaced by a regular file, never written into; so is a
// link outside the data folder, while below it a link is refused.
bool writeFileAtomic(const std::string& path, const std::string& bytes,
                     FileAccess access = FileAccess::Usual);

// A file written piece by piece that takes the place of `path` whole, as
// writeFileAtomic does, once committed (or never: a spool of bytes kept
// aside). Until then no name leads to it
// (where the file system has no unnamed files: a temporary name of the form
// writeFileAtomic uses, removed with the object), so that a writer that
// ends in any other way, killed included, leaves nothing behind.
class StagedFile {
 public:
  explicit StagedFile(std::string path);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Open, and every write so far went through.
  bool ok() const { return file_.ok() && !failed_; }
  bool write(std::string_view bytes);
  // Empty again: what was written is dropped.
  bool restart();
  // Hands what was written so far to `take`, in pieces, from the first
  // byte; false when it cannot be read.
  bool readBack(const std::function<void(std::string_view)>& take) const;
  // Flushed to the disk and in place of `path`; false (and nothing in
  // place) when anything failed.
  bool commit();

 private:
  std::string path_;
  OpenFile folder_;
  OpenFile file_;
  std::string temporary_;  // the file's name meanwhile; empty when it has none
  bool failed_ = false;
};

// Opens the file in append mode, exclusively (an advisory lock that no
// other writer of the system gets at the same moment), creating it when
// missing, and writes the bytes at its end in one write: a line is in the
// file whole or not at all, whatever kills the writer, and a writer that
// takes no lock cannot land inside it. A lock that stays taken for more than
// a moment makes the write fail rather than wait.
bool appendExclusive(const std::string& path, const std::string& bytes);

// The temporary files that writes cut off by a crash or a power cut left in
// `folder` (".name.XXXXXX", see writeFileAtomic) for the names that match
// `nameMask`, last written more than `minAgeSeconds` ago (a younger one may
// be a write going on now); each is deleted and its path returned.
std::vector<std::string> removeLeftTemporaries(const std::string& folder,
                                               const std::string& nameMask, int minAgeSeconds);

// Copies the file, overwriting the target as writeFileAtomic does: the
// target is the old file or the whole copy, never a part. The copy keeps
// the source's last-write time.
bool copyFile(const std::string& from, const std::string& to);

bool removeFile(const std::string& path);

std::optional<uint64_t> fileSize(const std::string& path);

// Local time of the last write, seconds resolution.
struct FileTime {
  int year, month, day, hour, minute, second;
};
std::optional<FileTime> lastWriteTime(const std::string& path);

// Names of the entries of a folder that match the mask (Windows wildcards:
// '*' any run, '?' one character; ASCII letters match without regard to
// case), in ascending byte order of their names. "." and ".." are never
// listed. `filesOnly` leaves out folders. The names are the file system's
// (UTF-8): convert them before they are logged or written to a CP932 file.
std::vector<std::string> listFolder(const std::string& folder, const std::string& mask,
                                    bool filesOnly = true);

// Windows wildcard match of one name.
bool wildcardMatch(const std::string& mask, const std::string& name);

}  // namespace orvis::platform
