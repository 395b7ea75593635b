#pragma once
// The connection of a session once it stands (greeting, EHLO, STARTTLS and
// AUTH done): bytes out, bytes in, each wait bounded by a deadline on the
// steady clock.

#include <string>
#include <string_view>

namespace orvis::alertmail {

class SmtpChannel {
 public:
  enum class Io {
    Ok,
    Closed,    // closed or reset by the server
    TimedOut,  // the deadline passed first
  };
  virtual ~SmtpChannel() = default;
  // Every byte, or the reason why not.
  virtual Io write(std::string_view bytes, long long deadlineMs) = 0;
  // Appends at least one byte to `into`, or gives the reason why not.
  virtual Io read(std::string& into, long long deadlineMs) = 0;
};

}  // namespace orvis::alertmail
