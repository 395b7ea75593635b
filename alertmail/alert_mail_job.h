#pragma once
// One run of alertmail: the recipients of group G, the settings, the alert
// files written by the monitor, and one message per recipient, with a
// result line for each in the send log.

#include <memory>
#include <string>
#include <vector>

#include "alert_message.h"
#include "alert_request.h"
#include "mail/mail_stamps.h"
#include "platform/day_log.h"
#include "smtp_transport.h"

namespace orvis::alertmail {

// The program's exit status.
enum ExitStatus : int {
  kAllSent = 0,      // every recipient was accepted by the server
  kSomeFailed = 1,   // at least one recipient was not
  kBadInput = 2,     // arguments, settings or alert files unusable: nothing sent
  kNoRecipient = 3,  // the group has no recipient: nothing to send, nobody failed
};

class AlertMailJob {
 public:
  // New sessions opened in a row, with no message accepted in between, after
  // the server ended one.
  static constexpr int kMaxReconnects = 3;

  AlertMailJob(const platform::DayLog& systemLog, const platform::DayLog& sendLog,
               mail::MailStamps& stamps, TransportFactory openTransport);

  int run(const AlertRequest& request);

 private:
  // The session with the server; `ended` when the server ended it at the
  // last message.
  struct Session {
    std::unique_ptr<SmtpTransport> transport;
    bool ended = false;
    int reconnectsInARow = 0;  // since the last accepted message
  };

  int deliver(const AlertSettings& settings, const AlertContent& content,
              const std::vector<std::string>& recipients);
  SendOutcome sendTo(Session& session, const AlertSettings& settings, const std::string& to,
                     const std::string& message);
  void failAll(const std::vector<std::string>& recipients, size_t from, const std::string& cause);

  const platform::DayLog& sys_;
  const platform::DayLog& send_;
  mail::MailStamps& stamps_;
  TransportFactory openTransport_;
};

}  // namespace orvis::alertmail
