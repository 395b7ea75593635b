#pragma once
// Postiva.ini: the one section "メール同報システム" that Postiva reads.

#include <optional>
#include <string>
#include <vector>

namespace orvis::postiva {

struct PostivaSettings {
  std::string smtpServer;     // "SMTPServer"
  std::string clientName;     // "クライアント名称"
  std::string senderName;     // "送信元名称"
  std::string senderAddress;  // "送信元メールアドレス"
  int pauseInterval = 0;      // "PauseInterval": pause after so many accepted messages, 0 never
  int pauseTime = 0;          // "PauseTime": milliseconds
  std::string pauseTimeText = "0";  // as written in the file, for the pause log line
  int retry = 5;                    // "Retry": retries in one run of the program

  // One log line for every numeric value that was not a whole number of 0
  // or more and was replaced by its default.
  std::vector<std::string> rejected;
};

// Reads work folder + "/Postiva.ini"; nullopt when the file does not exist
// (or cannot be read). Missing keys take their defaults; values are trimmed.
std::optional<PostivaSettings> ReadSettings(const std::string& workFolder);

}  // namespace orvis::postiva
