#include "sender_settings.h"

#include "platform/bytes.h"
#include "platform/codec.h"

namespace orvis::mail {

const std::string& senderSection() { return SJIS("メール同報システム"); }

std::string senderValue(const platform::IniDocument& ini, std::string_view key,
                        std::string_view fallback) {
  std::optional<std::string> value = ini.get(senderSection(), key);
  return platform::trim(value ? std::string_view(*value) : fallback);
}

void readSenderSettings(const platform::IniDocument& ini, SenderSettings& s) {
  s.server = senderValue(ini, "SMTPServer");
  s.clientName = senderValue(ini, SJIS("クライアント名称"));
  s.senderName = senderValue(ini, SJIS("送信元名称"));
  s.senderAddress = senderValue(ini, SJIS("送信元メールアドレス"));
}

}  // namespace orvis::mail
