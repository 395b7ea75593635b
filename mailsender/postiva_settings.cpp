#include "postiva_settings.h"

#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/ini_file.h"

namespace orvis::postiva {
namespace {

// A count or a length in milliseconds: a hand-edited file may hold anything,
// and a bad value must neither stop the run nor turn into a wild number.
int wholeNumber(const std::string& key, const std::string& text, int fallback,
                std::vector<std::string>& rejected) {
  auto value = platform::parseInt(text);
  if (value && *value >= 0) return *value;
  rejected.push_back(SJIS("設定値不正(") + key + "=" + text + SJIS(")既定値") +
                     std::to_string(fallback) + SJIS("で実行"));
  return fallback;
}

}  // namespace

std::optional<PostivaSettings> readPostivaSettings(const std::string& workFolder) {
  std::string path = workFolder + "/Postiva.ini";
  if (!platform::fileExists(path)) return std::nullopt;
  auto ini = platform::loadIniFile(path);
  if (!ini) return std::nullopt;

  auto read = [&](std::string_view key, std::string_view fallback) {
    return mail::senderValue(*ini, key, fallback);
  };

  PostivaSettings s;
  mail::readSenderSettings(*ini, s);
  s.pauseInterval = wholeNumber("PauseInterval", read("PauseInterval", "0"), 0, s.rejected);
  std::string pauseTime = read("PauseTime", "0");
  size_t rejectedBefore = s.rejected.size();
  s.pauseTime = wholeNumber("PauseTime", pauseTime, 0, s.rejected);
  s.pauseTimeText = s.rejected.size() == rejectedBefore ? pauseTime : "0";
  s.retry = wholeNumber("Retry", read("Retry", "5"), 5, s.rejected);
  return s;
}

}  // namespace orvis::postiva
