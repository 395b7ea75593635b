#pragma once
// One process per data folder: an advisory lock (flock) on the file
// "OrvisWatch.lock" in the data folder itself, taken by the monitor and by
// the verbs alike, so that exactly one of them works on a folder at a time.
// The lock file is the folder owner's alone (mode 0600, never reached
// through a link), so no other user of the machine can take the lock or
// keep it. The holder writes its pid, its role and its start time into the
// file. The lock lives as long as the object, and ends with the process
// whatever way it ends.

#include <optional>
#include <string>

namespace orvis::platform {

enum class LockRole { Monitor, Verb };

// "monitor" or "verb", as the lock file says it.
const char* lockRoleName(LockRole role);

struct LockHolder {
  int pid = 0;
  // "monitor" or "verb"; empty when the file does not say it of this pid
  // (its holder has only just taken it).
  std::string role;
  // Local time the holder took the lock, "yyyy/mm/dd hh:nn:ss"; empty when
  // not known.
  std::string started;
};

class InstanceLock {
 public:
  enum class Outcome {
    Acquired,
    HeldElsewhere,  // another process holds the folder's lock
    Failed,         // the lock file cannot be made or locked; error() says why
  };
  static constexpr const char* kFileName = "OrvisWatch.lock";

  // `dataFolder` with or without a trailing '/'.
  InstanceLock(const std::string& dataFolder, LockRole role);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  Outcome outcome() const { return outcome_; }
  bool acquired() const { return outcome_ == Outcome::Acquired; }
  // The lock file (UTF-8).
  const std::string& path() const { return path_; }
  // Why the lock could not be taken ("path: reason"), CP932 for the log.
  const std::string& error() const { return error_; }

 private:
  std::string path_;
  std::string error_;
  Outcome outcome_ = Outcome::Failed;
  int fd_ = -1;
};

// Who holds the data folder's lock, found without taking it: the kernel's
// table of locks (/proc/locks) matched by the lock file's device and inode,
// then what the holder wrote into the file. nullopt when nobody holds it.
std::optional<LockHolder> lockHolder(const std::string& dataFolder);

}  // namespace orvis::platform
