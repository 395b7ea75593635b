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

SmtpSession::SmtpSession(FormFields& fields, const PostivaSettings& settings,
                         std::string workFolder, const MailLogs& logs, SessionPorts ports)
    : fields_(fields),
      settings_(settings),
      workFolder_(std::move(workFolder)),
      logs_(logs),
      ports_(ports) {
  execTimer_.setHandler([this] { execTimerTimer(); });
  st1_.setHandler([this] { ST1Timer(); });
  ports_.socket.setListener(this);
}

SmtpSession::~SmtpSession() { ports_.socket.setListener(nullptr); }

void SmtpSession::start() {
  state_ = DialogueState::Idle;
  retryCount_ = 0;
  execTimer_.setInterval(kFirstPassMs);
  execTimer_.setEnabled(true);
}

void SmtpSession::execTimerTimer() {
  if (ended_) return;
  execTimer_.setEnabled(false);
  status(SJIS("動作開始します．．．"));
  passCount_ = 0;
  SpeedButton1Click();
}

void SmtpSession::SpeedButton1Click() {
  if (ended_) return;
  beginPass(SJIS("＃＃＃＃＃　送信スタート　＃＃＃＃＃"), static_cast<int>(fields_.Memo5.size()));
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
  st1_.setInterval(kWatchdogMs);
  st1_.setEnabled(true);
  status(SJIS("接続開始．．．"));
}

void SmtpSession::SpeedButton2Click() {
  if (ended_) return;
  beginPass(SJIS("＃＃＃＃＃　送信スタート（テスト送信）　＃＃＃＃＃"), 1);
  recipient_ = fields_.Edit3;
  log("Send to " + recipient_);
  if (recipient_.empty()) {
    ports_.view.showMessage(SJIS("宛先が設定されていません。"), SJIS("メール同報システム"));
    ports_.view.SetBusy(false);
    return;
  }
  // The watchdog starts with HELO here.
  openConnection(true);
}

void SmtpSession::beginPass(const std::string& banner, int lines) {
  ports_.view.SetBusy(true);
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
  log("Try SMTP socket open...to " + fields_.URL);
  ports_.socket.open(fields_.URL, kSmtpPort);
  state_ = DialogueState::Connecting;
}

void SmtpSession::giveUp(const std::string& reason) {
  log(reason);
  log("EXIT");
  ports_.view.SetBusy(false);
  endProgram(1);
}

void SmtpSession::SpeedButton3Click() {
  if (ended_) return;
  ports_.socket.close();
  state_ = DialogueState::Idle;
  ports_.view.SetBusy(false);
  sendLog("ABORT.");
  sendLog("EXIT.");
  endProgram(1);
}

void SmtpSession::CS1Connect() {
  if (ended_) return;
  log("Connecting!");
  st1_.setEnabled(false);
  status(SJIS("接続完了"));
  // Events run while the strip repaints; one of them may have ended the run.
  if (ended_ || state_ != DialogueState::Connecting) return;
  status(SJIS("ネゴシエーション中..."));
  if (ended_) return;
  std::string helo = "HELO " + fields_.Edit2;
  log("Send!");
  log(helo);
  ports_.socket.send(helo);
  ports_.socket.send("\r\n");
  state_ = DialogueState::HeloSent;
  st1_.setEnabled(true);
}

void SmtpSession::CS1Disconnect() {
  if (ended_) return;
  log("Disconnected!");
}

void SmtpSession::CS1Error() {
  if (ended_) return;
  st1_.setEnabled(false);
  log("Socket error.");
  log("EXIT");
  ports_.socket.close();
  endProgram(1);
}

void SmtpSession::ST1Timer() {
  if (ended_) return;
  st1_.setEnabled(false);
  switch (state_) {
    case DialogueState::RsetSent:
      log("RSET Timed out.Exit.");
      endProgram(1);
      return;
    case DialogueState::Idle:
    case DialogueState::Connecting:
      log("connect timeout.");
      log("EXIT");
      ports_.socket.close();
      endProgram(1);
      return;
    default:
      log("read timeout.");
      sendCommand("RSET");
      state_ = DialogueState::RsetSent;
      st1_.setEnabled(true);
      return;
  }
}

void SmtpSession::retry() {
  log("OK Recieved");
  st1_.setEnabled(false);
  ports_.socket.close();
  // Drop exactly the lines this pass is done with, empty ones included, so
  // that the next pass starts at the recipient that failed and nobody who
  // already got the message gets it twice.
  size_t drop = std::min(consumed_, fields_.Memo5.size());
  fields_.Memo5.erase(fields_.Memo5.begin(), fields_.Memo5.begin() + static_cast<long>(drop));
  ++retryCount_;
  if (retryCount_ > settings_.retry) {
    log("retry over.Exit.");
    endProgram(1);
    return;
  }
  log("retry.");
  execTimer_.setInterval(kRetryPassMs);
  execTimer_.setEnabled(true);
}

bool SmtpSession::takeLine(size_t position, const std::string& faultText) {
  std::string line =
      position < fields_.Memo5.size() ? platform::trim(fields_.Memo5[position]) : std::string();
  recipient_.clear();
  mailType_.clear();
  if (line.empty()) return true;
  mail::RecipientLine r = mail::RecipientLine::splitAtFirstComma(line);
  recipient_ = r.address;
  mailType_ = r.group;
  log("Send to :" + recipient_);
  log("MailType:" + mailType_);
  if (LoadMessageFiles(workFolder_, mailType_, fields_.Edit1, fields_.Memo4) == 0) return true;
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
  ports_.view.SetBusy(false);
  sendLog("EXIT.");
  endProgram(1);
}

void SmtpSession::status(const std::string& text) {
  ports_.view.setStatus(text);
  ports_.pump.processEvents();
}

void SmtpSession::endProgram(int exitCode) {
  ended_ = true;
  st1_.setEnabled(false);
  execTimer_.setEnabled(false);
  ports_.end.endProgram(exitCode);
}

}  // namespace orvis::postiva
