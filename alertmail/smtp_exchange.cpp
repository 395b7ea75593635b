#include "smtp_exchange.h"

#include "platform/bytes.h"
#include "platform/codec.h"

namespace orvis::alertmail {

namespace {

using Io = SmtpChannel::Io;
using Kind = SendOutcome::Kind;

// Longer than any reply a server sends: what goes on beyond it is no SMTP.
constexpr size_t kLongestReply = 64 * 1024;

// 421: the server ends the session, whatever command it answers.
constexpr int kClosing = 421;

bool positive(int code) { return code >= 200 && code < 300; }

std::string angle(std::string_view address) {
  if (!address.empty() && address.front() == '<') return std::string(address);
  return "<" + std::string(address) + ">";
}

}  // namespace

std::string causeText(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return platform::peerTextToCp932(platform::trim(out));
}

std::string dataText(std::string_view message) {
  std::string out;
  out.reserve(message.size() + message.size() / 64 + 5);
  bool lineStart = true;
  for (char c : message) {
    if (lineStart && c == '.') out += '.';
    out += c;
    lineStart = c == '\n';
  }
  if (!out.empty() && !lineStart) out += "\r\n";
  out += ".\r\n";
  return out;
}

SmtpExchange::Reply SmtpExchange::readReply(long long deadlineMs) {
  Reply reply;
  size_t start = 0;
  while (true) {
    size_t end = unread_.find('\n', start);
    if (end == std::string::npos) {
      if (unread_.size() > kLongestReply) {
        reply.io = Io::Closed;
        return reply;
      }
      reply.io = channel_.read(unread_, deadlineMs);
      if (reply.io != Io::Ok) return reply;
      continue;
    }
    std::string_view line(unread_.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = end + 1;
    // "250-..." lines go on; the reply ends with the first other line.
    if (line.size() > 3 && line[3] == '-') continue;
    reply.code = platform::parseInt(line.substr(0, 3)).value_or(0);
    reply.line = std::string(line);
    unread_.erase(0, start);
    return reply;
  }
}

SmtpExchange::Reply SmtpExchange::command(std::string_view text, long long deadlineMs) {
  Reply reply;
  reply.io = channel_.write(text, deadlineMs);
  if (reply.io != Io::Ok) return reply;
  return readReply(deadlineMs);
}

SendOutcome SmtpExchange::lost(const Reply& reply, std::string_view step) {
  usable_ = false;
  SendOutcome outcome;
  if (reply.io == Io::TimedOut) {
    // A server that stops answering would keep every later message waiting.
    outcome.kind = Kind::Broken;
    outcome.cause = "timed out waiting for the reply to " + std::string(step);
  } else if (reply.io == Io::Closed) {
    outcome.kind = Kind::Dropped;
    outcome.cause = "connection closed by the server at " + std::string(step);
  } else {
    outcome.kind = Kind::Dropped;
    outcome.cause = causeText(reply.line);
  }
  return outcome;
}

SendOutcome SmtpExchange::refused(const Reply& reply, bool inTransaction, long long deadlineMs) {
  if (reply.code == kClosing) return lost(reply, "");
  SendOutcome outcome;
  outcome.kind = Kind::Refused;
  outcome.cause = causeText(reply.line);
  // The refusal stands for this message; the session is made ready for the
  // next one. A session that cannot even be reset is not used again.
  if (inTransaction) {
    Reply reset = command("RSET\r\n", deadlineMs);
    if (reset.io != Io::Ok || !positive(reset.code)) usable_ = false;
  }
  return outcome;
}

SendOutcome SmtpExchange::sendMessage(std::string_view from, std::string_view to,
                                      const std::string& message, long long deadlineMs) {
  if (!usable_) {
    return {Kind::Dropped, "session lost after the previous message"};
  }
  Reply r = command("MAIL FROM:" + angle(from) + "\r\n", deadlineMs);
  if (r.io != Io::Ok) return lost(r, "MAIL FROM");
  // A refused MAIL FROM opens no transaction, but RSET costs nothing and
  // leaves no doubt.
  if (!positive(r.code)) return refused(r, true, deadlineMs);
  r = command("RCPT TO:" + angle(to) + "\r\n", deadlineMs);
  if (r.io != Io::Ok) return lost(r, "RCPT TO");
  if (!positive(r.code)) return refused(r, true, deadlineMs);
  r = command("DATA\r\n", deadlineMs);
  if (r.io != Io::Ok) return lost(r, "DATA");
  if (r.code != 354) return refused(r, true, deadlineMs);
  r = command(dataText(message), deadlineMs);
  if (r.io != Io::Ok) return lost(r, "the end of the message");
  // After the end mark the transaction is over, accepted or not.
  if (!positive(r.code)) return refused(r, false, deadlineMs);
  SendOutcome outcome;
  outcome.cause = causeText(r.line);
  return outcome;
}

void SmtpExchange::quit(long long deadlineMs) {
  if (!usable_) return;
  usable_ = false;
  command("QUIT\r\n", deadlineMs);
}

}  // namespace orvis::alertmail
