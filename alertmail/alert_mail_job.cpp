#include "alert_mail_job.h"

#include <optional>

#include "alert_settings.h"
#include "group_recipients.h"
#include "mail/mailer_limits.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis::alertmail {

namespace {

struct FileText {
  std::optional<std::string> text;
  std::string error;  // CP932
};

FileText readInput(const std::string& path, std::string_view what) {
  FileText r;
  if (!platform::fileExists(path)) {
    r.error = std::string(what) + SJIS("がありません:") + platform::toCp932(path);
  } else if (!(r.text = platform::readFile(path))) {
    r.error = std::string(what) + SJIS("を読めません:") + platform::toCp932(path);
  }
  return r;
}

// The alert the monitor has just written; an error text when it cannot be read.
std::string readContent(const AlertRequest& request, const AlertSettings& settings,
                        AlertContent& content) {
  FileText subject = readInput(request.dataFolder + "mail/Subject-0.txt", SJIS("件名ファイル"));
  if (!subject.text) return subject.error;
  FileText body = readInput(request.dataFolder + "mail/Body-0.txt", SJIS("本文ファイル"));
  if (!body.text) return body.error;
  std::vector<std::string> subjectLines = platform::splitLines(*subject.text);
  content.subject = subjectLines.empty() ? std::string() : subjectLines.front();
  content.bodyLines = platform::splitLines(*body.text);
  content.html = request.html;
  content.senderName = settings.senderName;
  content.senderAddress = settings.senderAddress;
  return {};
}

}  // namespace

AlertMailJob::AlertMailJob(const platform::DayLog& systemLog, const platform::DayLog& sendLog,
                           mail::MailStamps& stamps, TransportFactory openTransport)
    : sys_(systemLog), send_(sendLog), stamps_(stamps), openTransport_(std::move(openTransport)) {}

int AlertMailJob::run(const AlertRequest& request) {
  const std::string& d = request.dataFolder;
  sys_.write(SJIS("開始(メールグループ=") + request.group + ",HTML=" + (request.html ? "1" : "0") +
             ")");
  if (!platform::folderExists(d)) {
    sys_.write(SJIS("データフォルダがありません:") + platform::toCp932(d) + ",EXIT");
    return kBadInput;
  }

  FileText list = readInput(d + "mail/list.txt", SJIS("送信先リスト"));
  if (!list.text) {
    sys_.write(list.error + ",EXIT");
    return kBadInput;
  }
  GroupRecipients selection =
      selectGroupRecipients(mail::RecipientList(platform::splitLines(*list.text)), request.group);
  if (selection.emptyAddresses > 0) {
    sys_.write(SJIS("アドレスのない行を読み飛ばしました:") +
               std::to_string(selection.emptyAddresses) + SJIS("行"));
  }
  if (selection.duplicates > 0) {
    sys_.write(SJIS("重複したアドレスを読み飛ばしました:") + std::to_string(selection.duplicates) +
               SJIS("行"));
  }
  const std::vector<std::string>& recipients = selection.addresses;
  if (recipients.empty()) {
    sys_.write(SJIS("メールグループ") + request.group +
               SJIS("の送信先がありません。送信しません。,EXIT"));
    return kNoRecipient;
  }
  sys_.write(SJIS("送信先(") + std::to_string(recipients.size()) + SJIS(")件です。"));

  // From here on every recipient gets a result line, whatever stops us.
  SettingsResult settings = loadAlertSettings(d + "mail/Postiva.ini");
  for (const std::string& note : settings.notes) sys_.write(note);
  std::string inputError = settings.error;

  AlertContent content;
  if (inputError.empty()) inputError = readContent(request, *settings.settings, content);
  if (!inputError.empty()) {
    sys_.write(inputError);
    failAll(recipients, 0, inputError);
    sys_.write("EXIT");
    return kBadInput;
  }
  return deliver(*settings.settings, content, recipients);
}

namespace {

// The way a message went, for the system log.
std::string channelOf(const SendOutcome& outcome) {
  if (!outcome.encrypted) return SJIS("暗号化なし");
  return outcome.verified ? std::string("TLS") : "TLS," + SJIS("証明書未検証");
}

}  // namespace

SendOutcome AlertMailJob::sendTo(Session& session, const AlertSettings& settings,
                                 const std::string& to, const std::string& message) {
  // A session the server ended is opened anew, and the message it cost goes
  // out once more on the new one: it was not accepted, and a repeated alert
  // is better than a lost one. Reconnects are bounded per run: a server that
  // takes nothing gets kMaxReconnects in a row, and each further one needs a
  // message accepted since, so there are never more than recipients + 3.
  SendOutcome outcome;
  for (int attempt = 0; attempt < mail::kAlertAttemptsPerRecipient; ++attempt) {
    if (session.ended) {
      if (session.reconnectsInARow == kMaxReconnects) break;
      session.transport.reset();
      ++session.reconnectsInARow;
      sys_.write(SJIS("サーバーが接続を終了しました。接続し直します(") +
                 std::to_string(session.reconnectsInARow) + "/" + std::to_string(kMaxReconnects) +
                 ")");
      session.transport = openTransport_(settings);
      if (!session.transport) {
        outcome.kind = SendOutcome::Kind::Broken;
        outcome.cause = SJIS("送信の準備ができません");
        return outcome;
      }
      session.ended = false;
    }
    outcome = session.transport->send(settings.senderAddress, to, message);
    if (outcome.kind != SendOutcome::Kind::Dropped) return outcome;
    session.ended = true;
    sys_.write(SJIS("送信エラー:") + to + "," + outcome.cause);
  }
  return outcome;
}

int AlertMailJob::deliver(const AlertSettings& settings, const AlertContent& content,
                          const std::vector<std::string>& recipients) {
  sys_.write(SJIS("SMTPサーバー:") + settings.server + ":" + std::to_string(settings.port) +
             (settings.useAuth ? ",SMTP-AUTH(" + settings.user + ")" : std::string(",SMTP")));
  Session session{openTransport_(settings)};
  if (!session.transport) {
    const std::string cause = SJIS("送信の準備ができません");
    sys_.write(cause + ",EXIT");
    failAll(recipients, 0, cause);
    return kSomeFailed;
  }
  size_t accepted = 0;
  std::string domain = mail::addressDomain(settings.senderAddress);
  for (size_t i = 0; i < recipients.size(); ++i) {
    const std::string& to = recipients[i];
    sys_.write("Send to :" + to);
    SendOutcome outcome =
        sendTo(session, settings, to,
               buildAlertMessage(content, to, stamps_.date(), stamps_.messageId(domain)));
    if (outcome.kind == SendOutcome::Kind::Accepted) {
      ++accepted;
      session.reconnectsInARow = 0;
      sys_.write(SJIS("送信OK(") + channelOf(outcome) + "):" + to + "," + outcome.cause);
      send_.write("SEND OK   :" + to);
      continue;
    }
    if (outcome.kind != SendOutcome::Kind::Dropped)  // a drop is logged as it happens
      sys_.write(SJIS("送信エラー:") + to + "," + outcome.cause);
    send_.write("SEND ERROR:" + to + ",CAUSE:" + outcome.cause);
    bool noSession = outcome.kind == SendOutcome::Kind::Broken ||
                     (session.ended && session.reconnectsInARow == kMaxReconnects);
    if (noSession && i + 1 < recipients.size()) {
      // The next attempt would wait and fail the same way; the monitor is
      // waiting for us.
      sys_.write(SJIS("サーバーと通信できないため、残り") +
                 std::to_string(recipients.size() - i - 1) + SJIS("件は送信しません"));
      failAll(recipients, i + 1, outcome.cause);
      break;
    }
  }
  session.transport.reset();  // QUIT
  size_t failed = recipients.size() - accepted;
  sys_.write(SJIS("送信終了(OK:") + std::to_string(accepted) + SJIS("件,エラー:") +
             std::to_string(failed) + SJIS("件),EXIT"));
  return failed == 0 ? kAllSent : kSomeFailed;
}

void AlertMailJob::failAll(const std::vector<std::string>& recipients, size_t from,
                           const std::string& cause) {
  for (size_t i = from; i < recipients.size(); ++i) {
    send_.write("SEND ERROR:" + recipients[i] + ",CAUSE:" + cause);
  }
}

}  // namespace orvis::alertmail
