#include "alertmail/smtp_exchange.h"

#include <gtest/gtest.h>

#include <deque>

namespace orvis::alertmail {
namespace {

using Io = SmtpChannel::Io;
using Kind = SendOutcome::Kind;

// Answers each write with the next scripted reply: its text, or "closed" or
// "timeout" for a connection that fails there.
class ScriptedChannel : public SmtpChannel {
 public:
  explicit ScriptedChannel(std::deque<std::string> replies) : replies_(std::move(replies)) {}
  Io write(std::string_view bytes, long long) override {
    std::string text(bytes);
    // A command is one line, the message text several.
    commands += commands.empty() ? "" : " ";
    commands += text.find("\r\n") + 2 < text.size() ? "text" : text.substr(0, 4);
    if (!replies_.empty()) {
      pending_ = replies_.front();
      replies_.pop_front();
    }
    return Io::Ok;
  }
  Io read(std::string& into, long long) override {
    if (pending_ == "closed" || pending_.empty()) return Io::Closed;
    if (pending_ == "timeout") return Io::TimedOut;
    into += pending_;
    pending_.clear();
    return Io::Ok;
  }
  std::string commands;

 private:
  std::deque<std::string> replies_;
  std::string pending_;
};

TEST(SmtpExchange, RefusalsStandForTheirMessageOnlyLossesEndTheSession) {
  struct Case {
    std::deque<std::string> replies;
    Kind kind;
    std::string cause;     // its start
    std::string commands;  // what went out
    bool usable;           // the session goes on
  };
  const std::string ok = "250 ok\r\n", go = "354 go\r\n";
  // clang-format off
  const Case cases[] = {
      {{ok, ok, go, "250 queued\r\n"}, Kind::Accepted, "250 queued", "MAIL RCPT DATA text", true},
      {{ok, "550 no such user\r\n", ok}, Kind::Refused, "550 no such user", "MAIL RCPT RSET", true},
      {{ok, "450-busy\r\n450 later\r\n", ok}, Kind::Refused, "450 later", "MAIL RCPT RSET", true},
      {{ok, ok, go, "554 spam\r\n"}, Kind::Refused, "554 spam", "MAIL RCPT DATA text", true},
      {{ok, "550 no\r\n", "closed"}, Kind::Refused, "550 no", "MAIL RCPT RSET", false},
      {{"421 closing\r\n"}, Kind::Dropped, "421 closing", "MAIL", false},
      {{ok, "closed"}, Kind::Dropped, "connection closed", "MAIL RCPT", false},
      {{ok, ok, "timeout"}, Kind::Broken, "timed out", "MAIL RCPT DATA", false},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cause);
    ScriptedChannel channel(c.replies);
    SmtpExchange exchange(channel);
    SendOutcome outcome = exchange.sendMessage("f@x.jp", "t@x.jp", "subject: s\r\n\r\nb\r\n", 0);
    EXPECT_EQ(outcome.kind, c.kind);
    EXPECT_EQ(outcome.cause.rfind(c.cause, 0), 0u) << outcome.cause;
    EXPECT_EQ(exchange.usable(), c.usable);
    // QUIT only on a session that still stands.
    exchange.quit(0);
    EXPECT_EQ(channel.commands, c.commands + (c.usable ? " QUIT" : ""));
  }
}

}  // namespace
}  // namespace orvis::alertmail
