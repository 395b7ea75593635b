#include "alert_texts.h"

#include "platform/codec.h"

namespace orvis::alert_text {

std::string groupSubject(const std::string& groupName) {
  return SJIS("【ORVIS】システムからメールグループ[") + groupName + SJIS("]への連絡です。");
}

const std::string& responseError() { return SJIS("応答エラーを検出しました。"); }

const std::string& testMessage() { return SJIS("テスト送信によりメール送信いたしました。"); }

std::vector<std::string> systemMail(const platform::Clock& clock,
                                    const std::optional<std::string>& name, const std::string& uri,
                                    const std::string& message, const std::string& difference) {
  const platform::LocalTime now = clock.now();
  std::vector<std::string> lines{SJIS("ORVISよりメッセージがあります。"), "",
                                 SJIS("【日　付】") + platform::formatDate(now),
                                 SJIS("【時　刻】") + platform::formatTime(now)};
  if (name) lines.push_back(SJIS("【名　称】") + *name);
  lines.push_back(SJIS("【ＵＲＬ】") + uri);
  lines.push_back(SJIS("【内　容】") + message);
  lines.push_back("");
  if (!difference.empty()) {
    lines.push_back(SJIS("【更新検出個所】"));
    lines.push_back(difference);
    lines.push_back("");
  }
  return lines;
}

std::string htmlFlag(bool userMail, bool html) { return userMail && html ? "1" : "0"; }

}  // namespace orvis::alert_text
