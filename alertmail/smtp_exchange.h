#pragma once
// The commands of one message over a session that stands: MAIL FROM,
// RCPT TO, DATA, the text with its end mark, each answered before the next
// goes out. A refusal ends the transaction with RSET and leaves the session
// to the next message; only a lost session (421, a closed connection, no
// answer in time) needs a new one.

#include <string>
#include <string_view>

#include "smtp_channel.h"
#include "smtp_transport.h"

namespace orvis::alertmail {

class SmtpExchange {
 public:
  explicit SmtpExchange(SmtpChannel& channel) : channel_(channel) {}

  // `message` with CR LF line ends, without dot-stuffing and end mark.
  // Accepted, Refused (the session goes on), Dropped or Broken (it does not).
  SendOutcome sendMessage(std::string_view from, std::string_view to, const std::string& message,
                          long long deadlineMs);
  // QUIT and its reply; the session is over either way.
  void quit(long long deadlineMs);

  // False once the session is lost or ended: nothing more may be sent on it.
  bool usable() const { return usable_; }

 private:
  struct Reply {
    SmtpChannel::Io io = SmtpChannel::Io::Ok;
    int code = 0;
    std::string line;  // its last line, without CR LF
  };
  Reply command(std::string_view text, long long deadlineMs);
  Reply readReply(long long deadlineMs);
  SendOutcome lost(const Reply& reply, std::string_view step);
  SendOutcome refused(const Reply& reply, bool inTransaction, long long deadlineMs);

  SmtpChannel& channel_;
  std::string unread_;  // bytes after the last whole reply
  bool usable_ = true;
};

// The message as DATA carries it: every line that starts with "." gets
// another, a missing last line end is added, then the end mark.
std::string dataText(std::string_view message);

// A server's or library's text as one log line: control characters become
// blanks, UTF-8 becomes the log's CP932.
std::string causeText(std::string_view text);

}  // namespace orvis::alertmail
