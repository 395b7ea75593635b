#include "smtp_session.h"

#include <cstdio>

#include "mail/recipient_line.h"
#include "message_files.h"
#include "platform/bytes.h"
#include "platform/codec.h"

namespace orvis::postiva {
namespace {

std::string totalLine(int remaining) {
  char text[32];
  std::snprintf(text, sizeof text, "Total %3d.", remaining);
  return text;
}

}  // namespace

SmtpSession::SmtpSession(Outbox& outbox, const PostivaSettings& settings, std::string workFolder,
                         const MailLogs& logs, SessionPorts ports)
    : outbox_(outbox),
      settings_(settings),
      workFolder_(std::move(workFolder)),
      logs_(logs),
      ports_(ports) {
  passTimer_.setHandler([this] { runScheduledPass(); });
  watchdog_.setHandler([this] { onWatchdogTimeout(); });
  ports_.socket.setListener(this);
}

SmtpSession::~SmtpSession() { ports_.socket.setListener(nullptr); }

void SmtpSession::start() {
  state_ = DialogueState::Idle;
  retryCount_ = 0;
  passTimer_.setInterval(kFirstPassMs);
  passTimer_.setEnabled(true);
}

void SmtpSession::runScheduledPass() {
  if (ended_) return;
  passTimer_.setEnabled(false);
  status(SJIS("動作開始します．．．"));
  passCount_ = 0;
  startSending();
}

void SmtpSession::startSending() {
  if (ended_) return;
  beginPass(SJIS("＃＃＃＃＃　送信スタート　＃＃＃＃＃"),
            static_cast<int>(outbox_.listLines.size()));
  if (!takeLine(0, SJIS("送信情報異常。"))) return;
  if (recipient_.empty() || remaining_ == 0) {
    giveUp(SJIS("宛先不明"));
    return;
  }
  if (mailType_.empty()) {
    giveUp(SJIS("メールタイプ不明:アドレス→") + recipient_);
    return;
  }
  openConnection(false);
  watchdog_.setInterval(kWatchdogMs);
  watchdog_.setEnabled(true);
  status(SJIS("接続開始．．．"));
}

void SmtpSession::startTestSend() {
  if (ended_) return;
  beginPass(SJIS("＃＃＃＃＃　送信スタート（テスト送信）　＃＃＃＃＃"), 1);
  recipient_ = settings_.senderAddress;
  log("Send to " + recipient_);
  if (recipient_.empty()) {
    ports_.view.showMessage(SJIS("宛先が設定されていません。"), SJIS("メール同報システム"));
    ports_.view.setBusy(false);
    return;
  }
  // The watchdog starts with HELO here.
  openConnection(true);
}

void SmtpSession::beginPass(const std::string& banner, int lines) {
  ports_.view.setBusy(true);
  sendLog(banner);
  remaining_ = lines;
  log(banner);
  log(totalLine(remaining_));
  position_ = 0;
  consumed_ = 0;
}

void SmtpSession::openConnection(bool testSend) {
  testSend_ = testSend;
  state_ = DialogueState::Idle;
  log("Try SMTP socket open...to " + settings_.server);
  pendingReply_.clear();
  ports_.socket.open(settings_.server, kSmtpPort);
  state_ = DialogueState::Connecting;
}

void SmtpSession::giveUp(const std::string& reason) {
  log(reason);
  log("EXIT");
  ports_.view.setBusy(false);
  endProgram(1);
}

void SmtpSession::abort() {
  if (ended_) return;
  ports_.socket.close();
  state_ = DialogueState::Idle;
  ports_.view.setBusy(false);
  sendLog("ABORT.");
  sendLog("EXIT.");
  endProgram(1);
}

void SmtpSession::abortOnRequest(const std::string& reason) {
  if (ended_) return;
  log(SJIS("中断要求(") + reason + ")");
  abort();
}

void SmtpSession::onConnected() {
  if (ended_) return;
  log("Connecting!");
  watchdog_.setEnabled(false);
  status(SJIS("接続完了"));
  // Events run while the strip repaints; one of them may have ended the run.
  if (ended_ || state_ != DialogueState::Connecting) return;
  status(SJIS("ネゴシエーション中..."));
  if (ended_ || state_ != DialogueState::Connecting) return;
  // HELO waits for the server's greeting: a server that enforces the order
  // of the dialogue refuses a client that speaks first. The watchdog covers
  // a server that never greets.
  state_ = DialogueState::Greeting;
  watchdog_.setEnabled(true);
  // A greeting that came while the strip repainted was kept for now.
  takeReply();
}

void SmtpSession::sendHelo() {
  std::string helo = "HELO " + settings_.clientName;
  log("Send!");
  log(helo);
  ports_.socket.send(helo);
  ports_.socket.send("\r\n");
  state_ = DialogueState::HeloSent;
  watchdog_.setEnabled(true);
}

void SmtpSession::onDisconnected() {
  if (ended_) return;
  log("Disconnected!");
}

void SmtpSession::onSocketError() {
  if (ended_) return;
  watchdog_.setEnabled(false);
  log("Socket error.");
  log("EXIT");
  ports_.socket.close();
  endProgram(1);
}

void SmtpSession::onWatchdogTimeout() {
  if (ended_) return;
  watchdog_.setEnabled(false);
  switch (state_) {
    case DialogueState::RsetSent:
      log("RSET Timed out.Exit.");
      endProgram(1);
      return;
    case DialogueState::Idle:
    case DialogueState::Connecting:
    case DialogueState::Greeting:
      log("connect timeout.");
      log("EXIT");
      ports_.socket.close();
      endProgram(1);
      return;
    default:
      log("read timeout.");
      sendCommand("RSET");
      state_ = DialogueState::RsetSent;
      watchdog_.setEnabled(true);
      return;
  }
}

void SmtpSession::retry() {
  log("OK Recieved");
  watchdog_.setEnabled(false);
  ports_.socket.close();
  // Drop exactly the lines this pass is done with, empty ones included, so
  // that the next pass starts at the recipient that failed and nobody who
  // already got the message gets it twice.
  size_t drop = std::min(consumed_, outbox_.listLines.size());
  outbox_.listLines.erase(outbox_.listLines.begin(),
                          outbox_.listLines.begin() + static_cast<long>(drop));
  ++retryCount_;
  if (retryCount_ > settings_.retry) {
    log("retry over.Exit.");
    endProgram(1);
    return;
  }
  log("retry.");
  passTimer_.setInterval(kRetryPassMs);
  passTimer_.setEnabled(true);
}

bool SmtpSession::takeLine(size_t position, const std::string& faultText) {
  std::string line = position < outbox_.listLines.size()
                         ? platform::trim(outbox_.listLines[position])
                         : std::string();
  recipient_.clear();
  mailType_.clear();
  if (line.empty()) return true;
  mail::RecipientLine r = mail::RecipientLine::splitAtFirstComma(line);
  // "a@x.jp ,0" names a@x.jp: strict servers refuse an address with blanks.
  recipient_ = platform::trim(r.address);
  mailType_ = r.group;
  log("Send to :" + recipient_);
  log("MailType:" + mailType_);
  if (loadMessageFiles(workFolder_, mailType_, outbox_.subject, outbox_.bodyLines) == 0)
    return true;
  giveUp(faultText);
  return false;
}

void SmtpSession::sendCommand(const std::string& command) {
  log("Send! " + command);
  ports_.socket.send(command + "\r\n");
}

void SmtpSession::errorLine(const std::string& reply) {
  sendLog("SEND ERROR:" + recipient_ + ",CAUSE:" + reply.substr(0, 3));
}

void SmtpSession::closeDown() {
  ports_.socket.close();
  state_ = DialogueState::Idle;
  ports_.view.setBusy(false);
  sendLog("EXIT.");
  endProgram(1);
}

void SmtpSession::status(const std::string& text) {
  ports_.view.setStatus(text);
  ports_.pump.processEvents();
}

void SmtpSession::endProgram(int exitCode) {
  ended_ = true;
  watchdog_.setEnabled(false);
  passTimer_.setEnabled(false);
  ports_.end.endProgram(exitCode);
}

}  // namespace orvis::postiva
