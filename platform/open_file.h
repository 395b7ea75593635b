#pragma once
// The one way the programs open a file. Every other file operation of the
// platform (whole-file reads, writes, appends, atomic replacements, copies,
// removals, folders made) goes through it, so that the same rules hold for
// all of them:
//
// - No open ever waits: a named pipe without a writer, a device, a socket
//   is opened without blocking and refused, as is anything else that is not
//   a regular file. The caller sees a file that cannot be opened.
// - Below the data folder of the process (see DataFolderGuard), a file that
//   is written, appended, created, replaced or removed is never reached
//   through a symbolic link: neither the file itself nor any folder between
//   the data folder and it may be a link, and ".." never leads above the
//   data folder. The kernel resolves the path that way (openat2 with
//   RESOLVE_NO_SYMLINKS | RESOLVE_BENEATH, else one O_NOFOLLOW step per
//   folder), so nothing can be swapped in between a check and the use. The
//   data folder itself may be reached through links: that is the
//   operator's choice. Reads follow links.
// - Every refusal is logged once (see DataFolderGuard); the caller takes its
//   own path for a file that cannot be opened or written.

#include <functional>
#include <string>
#include <string_view>

namespace orvis::platform {

enum class OpenFor {
  Reading,    // an existing file
  Updating,   // reading and writing; created empty when missing, else kept
  Writing,    // created when missing, emptied
  Appending,  // created when missing; every write lands at its end
};

enum class OpenRefusal {
  None,
  NotRegularFile,  // a pipe, a device, a socket, a folder
  ThroughLink,     // a symbolic link on the way, below the data folder
  OutsideFolder,   // ".." above the data folder
  System,          // the system's own error: see error()
};

// An open descriptor (close-on-exec), closed with the object; or why there
// is none.
class OpenFile {
 public:
  OpenFile() = default;
  OpenFile(int fd, OpenRefusal refusal, int error) : fd_(fd), refusal_(refusal), error_(error) {}
  ~OpenFile() { reset(); }
  OpenFile(OpenFile&& other) noexcept { *this = std::move(other); }
  OpenFile& operator=(OpenFile&& other) noexcept;
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  bool ok() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  int release();
  void reset();
  OpenRefusal refusal() const { return refusal_; }
  // errno of the failure (ELOOP for a link, EXDEV for "..", ENXIO for what
  // is not a regular file); 0 when open.
  int error() const { return error_; }

 private:
  int fd_ = -1;
  OpenRefusal refusal_ = OpenRefusal::System;
  int error_ = 0;
};

// Opens the file by the rules above; the mode applies to a file created.
OpenFile openFile(const std::string& path, OpenFor purpose, unsigned createMode = 0644);

// Opens `name` (a path relative to `folder`, '/' separated) below `folder`
// by the rules of the data folder, whatever the process's data folder is:
// no link below `folder`, nothing above it. For a file that belongs to a
// folder by its nature (the folder's instance lock).
OpenFile openFileIn(const std::string& folder, std::string_view name, OpenFor purpose,
                    unsigned createMode = 0644);

// The folder, open for the at-functions (openat, renameat, unlinkat) and
// for fsync, by the rules of a file written there; `create` makes the
// missing folders on the way (and the folder itself).
OpenFile openFolder(const std::string& path, bool create = false);

// Whether `path` lies below the data folder of the process, where writes
// follow no link.
bool belowDataFolder(const std::string& path);

// Logs a refusal (see DataFolderGuard), naming the path (UTF-8).
void reportRefusal(OpenRefusal refusal, const std::string& path);

// While it lives, `folder` (with a trailing '/') is the data folder of the
// process and refusals go to `log`, one CP932 line each; the guard made
// before it comes back when it ends. Made once at the start of a program,
// before any other thread. A refusal with no log to take it, or that comes
// while the log itself writes, goes to the standard error (UTF-8), as do
// the lines the log cannot take. The same refusal is not repeated within a
// minute, so a pipe in place of a file opened every second does not fill
// the log.
class DataFolderGuard {
 public:
  using Log = std::function<void(const std::string& line)>;
  DataFolderGuard(std::string folder, Log log);
  ~DataFolderGuard();
  DataFolderGuard(const DataFolderGuard&) = delete;
  DataFolderGuard& operator=(const DataFolderGuard&) = delete;

  const std::string& folder() const { return folder_; }
  // Sends the refusals to another log from now on (a program that opens
  // its log only once it knows its work).
  void setLog(Log log);

 private:
  friend void reportRefusal(OpenRefusal, const std::string&);
  std::string folder_;
  Log log_;
  DataFolderGuard* previous_;
};

// A line that could not reach its log, on the standard error in UTF-8 (the
// journal's encoding), without the CR of its CR LF.
void writeLostLine(std::string_view cp932Line);

}  // namespace orvis::platform
