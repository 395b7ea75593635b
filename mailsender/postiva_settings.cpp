#include "postiva_settings.h"

#include <climits>

#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/ini_file.h"

namespace orvis::postiva {
namespace {

// A hand-edited file may hold anything, and a bad value must neither stop
// the run nor turn into a wild number. A whole number from `minimum` up is
// taken as written; below it, or not a whole number, gives the default; above
// `maximum` gives the maximum. Each replacement is logged.
int wholeNumber(const std::string& key, const std::string& text, int fallback, int minimum,
                int maximum, std::vector<std::string>& rejected) {
  auto value = platform::parseInt(text);
  if (value && *value >= minimum && *value <= maximum) return *value;
  if (value && *value > maximum) {
    rejected.push_back(SJIS("設定値不正(") + key + "=" + text + SJIS(")上限") +
                       std::to_string(maximum) + SJIS("で実行"));
    return maximum;
  }
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
  s.pauseInterval =
      wholeNumber("PauseInterval", read("PauseInterval", "0"), 0, 0, INT_MAX, s.rejected);
  std::string pauseTime = read("PauseTime", "0");
  size_t rejectedBefore = s.rejected.size();
  s.pauseTime =
      wholeNumber("PauseTime", pauseTime, 0, 0, PostivaSettings::kLongestPauseMs, s.rejected);
  s.pauseTimeText = s.rejected.size() == rejectedBefore ? pauseTime : std::to_string(s.pauseTime);
  // A negative count is a count all the same: no retry at all.
  s.retry = wholeNumber("Retry", read("Retry", "5"), 5, INT_MIN, INT_MAX, s.rejected);
  return s;
}

}  // namespace orvis::postiva
