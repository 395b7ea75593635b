#pragma once
// The sender's part of "Postiva.ini": the section "メール同報システム" that
// the monitor's settings dialog writes and every mailer of the system reads,
// and the four keys they all read the same way.

#include <string>
#include <string_view>

#include "platform/ini_file.h"

namespace orvis::mail {

struct SenderSettings {
  std::string server;         // "SMTPServer": host name or address
  std::string clientName;     // "クライアント名称": the name given in HELO
  std::string senderName;     // "送信元名称": display name, CP932
  std::string senderAddress;  // "送信元メールアドレス"
};

// "メール同報システム" in CP932.
const std::string& senderSection();

// The key of that section with blanks and control characters trimmed away;
// `fallback` when it is missing.
std::string senderValue(const platform::IniDocument& ini, std::string_view key,
                        std::string_view fallback = {});

// Fills the four fields; the settings of each mailer build on them.
void readSenderSettings(const platform::IniDocument& ini, SenderSettings& into);

}  // namespace orvis::mail
