// SmtpSession: the replies by state and code, and what follows an accepted
// message.

#include <algorithm>

#include "message_text.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "smtp_session.h"

namespace orvis::postiva {

namespace {

// Longer than any reply a server sends; what has come by then is taken as
// it is.
constexpr size_t kLongestReply = 64 * 1024;

// A read is taken as a reply once it ends a line; a server that sends a
// reply in one piece is answered as soon as it is read. A continuation line
// ("250-") still to be followed by the reply's last line is waited for,
// except after HELO, where a continued greeting is noted as it comes.
bool replyComplete(const std::string& text, bool waitForLastLine) {
  if (text.empty() || text.back() != '\n') return text.size() >= kLongestReply;
  if (!waitForLastLine) return true;
  size_t start = text.find_last_of("\n", text.size() - 2);
  std::string_view last(text);
  last.remove_prefix(start == std::string::npos ? 0 : start + 1);
  bool continued =
      last.size() > 3 && last[3] == '-' &&
      std::all_of(last.begin(), last.begin() + 3, [](char c) { return c >= '0' && c <= '9'; });
  return !continued || text.size() >= kLongestReply;
}

}  // namespace

void SmtpSession::onDataReceived() {
  if (ended_) return;
  std::string chunk = ports_.socket.readAll();
  log("Receive data:" + chunk);
  pendingReply_ += chunk;
  takeReply();
}

void SmtpSession::takeReply() {
  // A greeting that comes while the connect handler still runs is kept for
  // it; the greeting itself is waited for to its last line.
  if (state_ == DialogueState::Connecting) return;
  if (state_ == DialogueState::Greeting) {
    onGreeting();
    return;
  }
  bool complete = replyComplete(pendingReply_, state_ != DialogueState::HeloSent);
  if (!complete) return;
  std::string reply = std::move(pendingReply_);
  pendingReply_.clear();
  // No command waits for a reply in these states; a reply that comes while
  // an accepted message is being recorded answers nothing we sent.
  if (state_ == DialogueState::Idle || state_ == DialogueState::Accepted) return;
  // A reply is known by its first three characters.
  if (reply.size() < 4) return;
  int code = platform::parseInt(reply.substr(0, 3)).value_or(0);
  switch (state_) {
    case DialogueState::HeloSent:
      onHeloReply(reply, code);
      break;
    case DialogueState::MailFromSent:
      onMailFromReply(reply, code);
      break;
    case DialogueState::RcptToSent:
      onRcptToReply(reply, code);
      break;
    case DialogueState::DataSent:
      onDataReply(reply, code);
      break;
    case DialogueState::MessageSent:
      onMessageReply(reply, code);
      break;
    case DialogueState::QuitSent:
      onQuitReply(code);
      break;
    case DialogueState::RsetSent:
      onRsetReply(code);
      break;
    case DialogueState::Idle:
    case DialogueState::Connecting:
    case DialogueState::Greeting:
    case DialogueState::Accepted:
      break;
  }
}

void SmtpSession::onGreeting() {
  if (!replyComplete(pendingReply_, true)) {
    // A continued greeting is noted as it comes.
    if (!pendingReply_.empty() && pendingReply_.back() == '\n' &&
        pendingReply_.rfind("220", 0) == 0)
      log("220- Recieved");
    return;
  }
  std::string greeting = std::move(pendingReply_);
  pendingReply_.clear();
  if (greeting.size() < 4) return;
  if (greeting.rfind("220", 0) == 0) {
    sendHelo();
    return;
  }
  quitAfterRefusedGreeting(greeting);
}

void SmtpSession::onHeloReply(const std::string& reply, int code) {
  if (code == 220) {
    if (reply[3] != ' ') {
      log("220- Recieved");
      return;
    }
    // The greeting again and the HELO reply, in one read.
    if (reply.find("250 ") == std::string::npos) return;
    log("we recieved 220&250");
    log("OK Recieved");
    sendMailFrom();
    return;
  }
  if (code == 250) {
    log("OK Recieved");
    sendMailFrom();
    return;
  }
  quitAfterRefusedGreeting(reply);
}

void SmtpSession::quitAfterRefusedGreeting(const std::string& reply) {
  log("Send!");
  log("QUIT");
  ports_.socket.send("QUIT");
  ports_.socket.send("\r\n");
  errorLine(reply);
  closeDown();
}

void SmtpSession::onMailFromReply(const std::string& reply, int code) {
  if (code == 250) {
    log("OK Recieved.");
    sendCommand("RCPT TO:<" + recipient_ + ">");
    state_ = DialogueState::RcptToSent;
    return;
  }
  resetAfterRefusal(reply);
}

void SmtpSession::onRcptToReply(const std::string& reply, int code) {
  if (code == 250) {
    log("OK Recieved");
    sendCommand("DATA");
    state_ = DialogueState::DataSent;
    return;
  }
  resetAfterRefusal(reply);
}

void SmtpSession::onDataReply(const std::string& reply, int code) {
  if (code == 354) {
    log("OK Recieved");
    transmitMessage();
    state_ = DialogueState::MessageSent;
    return;
  }
  quitAfterRefusal(reply);
}

void SmtpSession::onMessageReply(const std::string& reply, int code) {
  if (code == 250) {
    messageAccepted();
    return;
  }
  quitAfterRefusal(reply);
}

void SmtpSession::onQuitReply(int code) {
  if (code == 221) {
    log("OK Recieved");
    ports_.socket.close();
    state_ = DialogueState::Idle;
    log(testSend_ ? SJIS("テスト送信終了") : SJIS("送信終了"));
    ports_.view.setBusy(false);
    sendLog("EXIT.");
    endProgram(0);
    return;
  }
  // Every message was accepted; only the goodbye went wrong.
  ports_.socket.close();
  state_ = DialogueState::Idle;
  sendLog("EXIT.");
  endProgram(0);
}

void SmtpSession::onRsetReply(int code) {
  if (code == 250) {
    retry();
    return;
  }
  sendCommand("QUIT");
  sendLog("SEND ERROR RSET");
  closeDown();
}

void SmtpSession::resetAfterRefusal(const std::string& reply) {
  errorLine(reply);
  sendCommand("RSET");
  state_ = DialogueState::RsetSent;
}

void SmtpSession::quitAfterRefusal(const std::string& reply) {
  sendCommand("QUIT");
  errorLine(reply);
  closeDown();
}

void SmtpSession::transmitMessage() {
  MessageStamp stamp{ports_.stamps.date(),
                     ports_.stamps.messageId(mail::addressDomain(settings_.senderAddress))};
  MessageText message = composeMessage(outbox_.subject, recipient_, settings_.senderName,
                                       settings_.senderAddress, outbox_.bodyLines, stamp);
  // A subject too long for one word is folded; the log keeps one line.
  log("Send! " + platform::replaceAll(message.subjectLine, "\r\n ", " "));
  ports_.socket.send(message.wire);
}

void SmtpSession::messageAccepted() {
  log("OK Recieved");
  sendLog("SEND OK   :" + recipient_);
  // The message is done with before the strip repaints and events run: a
  // second 250 among them must not count it again, and a read timeout among
  // them resets with this recipient already served. Whatever such an event
  // started goes on without us.
  ++passCount_;
  consumed_ = position_ + 1;
  state_ = DialogueState::Accepted;
  status(SJIS("送信完了...") + std::to_string(position_ + 1) + SJIS("件"));
  if (ended_ || state_ != DialogueState::Accepted) return;
  pauseRule();
  if (--remaining_ <= 0) {
    sendQuitAfterLastLine();
    return;
  }
  while (true) {
    ++position_;
    if (!takeLine(position_, SJIS("送信情報異常"))) return;
    if (!recipient_.empty()) {
      watchdog_.setEnabled(false);
      sendMailFrom();
      watchdog_.setEnabled(true);
      return;
    }
    // An empty line, or one with nothing before its comma.
    consumed_ = position_ + 1;
    if (--remaining_ <= 0) {
      sendQuitAfterLastLine();
      return;
    }
  }
}

void SmtpSession::pauseRule() {
  int every = settings_.pauseInterval;
  if (every == 0 || passCount_ % every != 0) return;
  log(SJIS("送信ポーズ実行 Count=") + std::to_string(passCount_) +
      ",Time=" + settings_.pauseTimeText + "msec.");
  ports_.clock.sleepMs(settings_.pauseTime);
}

void SmtpSession::sendMailFrom() {
  sendCommand("MAIL FROM:<" + settings_.senderAddress + ">");
  state_ = DialogueState::MailFromSent;
}

void SmtpSession::sendQuitAfterLastLine() {
  log("OK Recieved");
  sendCommand("QUIT");
  state_ = DialogueState::QuitSent;
}

}  // namespace orvis::postiva
