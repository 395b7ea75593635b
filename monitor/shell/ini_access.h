#pragma once
// Every INI access of the monitor (settings, job files, the mode file):
// five attempts 300 ms apart, then the message "Access fail to inifile."
// once.

#include <optional>
#include <string>

#include "message_boxes.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/stop_flag.h"

namespace orvis {

class IniAccess {
 public:
  IniAccess(const MessageBoxes& boxes, platform::Clock& clock, const platform::StopFlag& stop)
      : boxes_(boxes), clock_(clock), stop_(stop) {}

  // 0 on success, -1 after the fifth failed attempt. `access` says who may
  // read the file written.
  int write(const std::string& path, const std::string& section, const std::string& key,
            const std::string& value,
            platform::FileAccess access = platform::FileAccess::Usual) const;

  // A write into a file that must be there already: kMissing, at once and
  // without a message, when it is not; otherwise as write(). A key write
  // never makes a file whose other keys someone removed.
  int writeExisting(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value) const;
  static constexpr int kMissing = -2;

  // The value, empty when missing. A file that exists but cannot be read,
  // and a stored value "retry", cost five attempts and the message, and
  // read as empty.
  std::string read(const std::string& path, const std::string& section,
                   const std::string& key) const;

  // Once the program is asked to end, a failed attempt is not retried: the
  // action gives up anyway, and the end must not wait.

  // One load without retry or message, for callers that read many keys of
  // one file: nullopt when the file exists but cannot be read.
  std::optional<platform::IniDocument> loadOnce(const std::string& path) const;

  // Logs each section that the file holds more than once: a hand-edited
  // file may hold a key twice, and the log says which value counts.
  void noteRepeatedSections(const std::string& path) const;

  static constexpr int kAttempts = 5;
  static constexpr int kPauseMs = 300;

 private:
  int writeKey(const std::string& path, const std::string& section, const std::string& key,
               const std::string& value, platform::FileAccess access, bool mustExist) const;
  // `why`: what went wrong with the file, for the log line before the box.
  void giveUp(const std::string& path, const std::string& why) const;

  // Another attempt after a pause; false once the program is ending.
  bool pauseBeforeRetry(int& failures) const;

  const MessageBoxes& boxes_;
  platform::Clock& clock_;
  const platform::StopFlag& stop_;
};

}  // namespace orvis
