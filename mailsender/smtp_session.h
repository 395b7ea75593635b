#pragma once
// Postiva's SMTP client: one connection per pass over the recipient list,
// one message per list line, driven by the replies, the watchdog timer and
// the pass timer. Single-threaded: every handler runs on the event loop's
// thread.

#include <cstddef>
#include <string>

#include "dialogue_state.h"
#include "mail/mail_stamps.h"
#include "mail_logs.h"
#include "outbox.h"
#include "platform/clock.h"
#include "platform/pump.h"
#include "platform/timer.h"
#include "postiva_settings.h"
#include "postiva_view.h"
#include "program_end.h"
#include "smtp_socket.h"

namespace orvis::postiva {

// The side effects a session works through.
struct SessionPorts {
  SmtpSocket& socket;
  PostivaView& view;
  platform::Pump& pump;
  platform::Clock& clock;
  ProgramEnd& end;
  mail::MailStamps& stamps;  // Date and Message-ID of each message
};

class SmtpSession : public SmtpSocketEvents {
 public:
  static constexpr int kSmtpPort = 25;
  static constexpr int kWatchdogMs = 30000;
  static constexpr int kFirstPassMs = 500;
  static constexpr int kRetryPassMs = 10000;

  SmtpSession(Outbox& outbox, const PostivaSettings& settings, std::string workFolder,
              const MailLogs& logs, SessionPorts ports);
  ~SmtpSession() override;

  // State Idle, no retries yet, first pass in 500 ms.
  void start();

  void runScheduledPass();  // the pass timer: a pass with its status text
  void startSending();      // a pass over the list (the send button)
  void startTestSend();     // one message to the sender's own address
  void abort();             // drops the connection and ends the program
  // An abort asked for from outside (a termination signal): logged with
  // `reason`, then as abort().
  void abortOnRequest(const std::string& reason);
  void onWatchdogTimeout();

  void onConnected() override;
  void onDataReceived() override;
  void onDisconnected() override;
  void onSocketError() override;

  platform::Timer& passTimer() { return passTimer_; }
  platform::Timer& watchdog() { return watchdog_; }
  DialogueState state() const { return state_; }
  int retryCount() const { return retryCount_; }
  int passCount() const { return passCount_; }
  // True once the session asked the program to end; later events are ignored.
  bool ended() const { return ended_; }

 private:
  // Reply handling by state (smtp_replies.cpp).
  void takeReply();  // the reply read so far, once it is whole
  void onGreeting();
  void sendHelo();
  void onHeloReply(const std::string& reply, int code);
  void onMailFromReply(const std::string& reply, int code);
  void onRcptToReply(const std::string& reply, int code);
  void onDataReply(const std::string& reply, int code);
  void onMessageReply(const std::string& reply, int code);
  void onQuitReply(int code);
  void onRsetReply(int code);
  void messageAccepted();
  void resetAfterRefusal(const std::string& reply);  // error line, RSET, then a retry
  void quitAfterRefusal(const std::string& reply);   // QUIT, error line, the end
  void quitAfterRefusedGreeting(const std::string& reply);
  void transmitMessage();

  void beginPass(const std::string& banner, int lines);
  void openConnection(bool testSend);
  // Logs the reason and "EXIT", clears the strip and ends the program.
  void giveUp(const std::string& reason);
  // Takes line `position` of the list as the current recipient; false when its
  // message files fail, after which the program has been ended.
  bool takeLine(size_t position, const std::string& faultText);
  void sendCommand(const std::string& command);
  void sendMailFrom();
  void sendQuitAfterLastLine();
  void pauseRule();
  void retry();
  void errorLine(const std::string& reply);
  void closeDown();
  void status(const std::string& text);
  void log(const std::string& text) const { logs_.writeSystemLog(text); }
  void sendLog(const std::string& text) const { logs_.writeSendLog(text); }
  void endProgram(int exitCode);

  Outbox& outbox_;
  const PostivaSettings& settings_;
  std::string workFolder_;
  const MailLogs& logs_;
  SessionPorts ports_;

  platform::Timer passTimer_{"execTimer", kFirstPassMs};
  platform::Timer watchdog_{"ST1", kWatchdogMs};

  DialogueState state_ = DialogueState::Idle;
  int remaining_ = 0;    // list lines not yet consumed in this pass
  size_t position_ = 0;  // current line of the list
  size_t consumed_ = 0;  // lines of this pass that are done with: sent or skipped
  int passCount_ = 0;    // messages accepted in this pass
  int retryCount_ = 0;   // retries since start-up
  bool testSend_ = false;
  bool ended_ = false;
  std::string recipient_;
  std::string mailType_;
  std::string pendingReply_;  // the part of a reply read so far
};

}  // namespace orvis::postiva
