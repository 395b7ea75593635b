#pragma once
// Postiva.ini: what Postiva reads of its one section "メール同報システム",
// the sender's keys and the pause and retry rules.

#include <optional>
#include <string>
#include <vector>

#include "mail/sender_settings.h"

namespace orvis::postiva {

struct PostivaSettings : mail::SenderSettings {
  // The pause blocks the program, and a server drops a connection that is
  // silent for longer than five minutes.
  static constexpr int kLongestPauseMs = 300000;

  int pauseInterval = 0;  // "PauseInterval": pause after so many accepted messages, 0 never
  int pauseTime = 0;      // "PauseTime": milliseconds, at most kLongestPauseMs
  std::string pauseTimeText = "0";  // as written in the file, for the pause log line
  int retry = 5;                    // "Retry": retries in one run of the program; negative is none

  // One log line for every numeric value that was replaced: by its default
  // when it was not a whole number (of 0 or more, for the pause), by the
  // longest pause when the pause was longer.
  std::vector<std::string> rejected;
};

// Reads work folder + "/Postiva.ini"; nullopt when the file does not exist
// (or cannot be read). Missing keys take their defaults; values are trimmed.
std::optional<PostivaSettings> readPostivaSettings(const std::string& workFolder);

}  // namespace orvis::postiva
