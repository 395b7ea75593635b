#pragma once
// The sender settings that the monitor's settings dialog writes into
// mail/Postiva.ini, section "メール同報システム", as alertmail uses them.

#include <optional>
#include <string>
#include <vector>

#include "mail/sender_settings.h"
#include "platform/ini_file.h"

namespace orvis::alertmail {

// clientName is the EHLO name; empty: the machine's host name.
struct AlertSettings : mail::SenderSettings {
  int port = 25;
  bool useAuth = false;  // "SMTP-AUTH"
  std::string user;
  std::string password;
};

struct SettingsResult {
  std::optional<AlertSettings> settings;
  std::string error;               // CP932, set when settings is empty
  std::vector<std::string> notes;  // things worth a log line that did not stop us
};

// Reads the section; every value trimmed. An empty port means 25 for plain
// SMTP and 587 (submission) for SMTP-AUTH.
SettingsResult readAlertSettings(const platform::IniDocument& ini);

// The file itself; a missing or unreadable file is an error.
SettingsResult loadAlertSettings(const std::string& path);

}  // namespace orvis::alertmail
