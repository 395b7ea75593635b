#include "alert_settings.h"

#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis::alertmail {

namespace {

// Host names, IPv4 and bracketed or bare IPv6 addresses; nothing that could
// change the meaning of the URL the transport builds from it.
bool isPlainHost(const std::string& host) {
  for (unsigned char c : host) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '.' || c == '-' || c == '_' || c == ':' || c == '[' || c == ']';
    if (!ok) return false;
  }
  return !host.empty();
}

}  // namespace

SettingsResult readAlertSettings(const platform::IniDocument& ini) {
  auto value = [&](std::string_view key) { return mail::senderValue(ini, key); };

  SettingsResult result;
  AlertSettings s;
  mail::readSenderSettings(ini, s);
  s.user = value("SMTPID");
  s.password = value("SMTPPWD");

  // EHLO wants a host name; a free text such as a Japanese label would make
  // servers refuse the greeting, so the machine's own name stands in.
  if (!s.clientName.empty() && !isPlainHost(s.clientName)) {
    result.notes.push_back(
        SJIS("クライアント名称はホスト名でないため、このマシンの名前で接続します:") + s.clientName);
    s.clientName.clear();
  }

  std::string kind = value("SMTP");
  s.useAuth = platform::asciiUpper(kind) == "SMTP-AUTH";
  if (!s.useAuth && !kind.empty() && platform::asciiUpper(kind) != "SMTP") {
    result.notes.push_back(SJIS("送信方式が不明です。SMTPとして送信します:") + kind);
  }

  if (s.server.empty()) {
    result.error = SJIS("SMTPサーバーが設定されていません(SMTPServer)");
    return result;
  }
  if (!isPlainHost(s.server)) {
    result.error = SJIS("SMTPサーバーの名前が不正です(SMTPServer):") + s.server;
    return result;
  }
  if (s.senderAddress.empty()) {
    result.error = SJIS("送信元メールアドレスが設定されていません");
    return result;
  }
  if (s.useAuth && s.user.empty()) {
    result.error = SJIS("SMTP-AUTHが指定されていますが、SMTPIDが設定されていません");
    return result;
  }

  std::string port = value("SMTPPORT");
  if (port.empty()) {
    s.port = s.useAuth ? 587 : 25;
  } else {
    auto n = platform::parseInt(port);
    if (!n || *n < 1 || *n > 65535) {
      result.error = SJIS("SMTPポート番号が不正です(SMTPPORT):") + port;
      return result;
    }
    s.port = *n;
  }

  result.settings = std::move(s);
  return result;
}

SettingsResult loadAlertSettings(const std::string& path) {
  SettingsResult result;
  if (!platform::fileExists(path)) {
    result.error = SJIS("設定ファイルがありません:") + platform::toCp932(path);
    return result;
  }
  auto ini = platform::loadIniFile(path);
  if (!ini) {
    result.error = SJIS("設定ファイルを読めません:") + platform::toCp932(path);
    return result;
  }
  return readAlertSettings(*ini);
}

}  // namespace orvis::alertmail
