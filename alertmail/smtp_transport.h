#pragma once
// Delivery of one finished message to one recipient. The program's
// transport speaks SMTP through libcurl and keeps its connection open from
// one message to the next; each transport is one session, opened anew when
// the server ends one. Tests hand in a fake.

#include <functional>
#include <memory>
#include <string>

#include "alert_settings.h"

namespace orvis::alertmail {

struct SendOutcome {
  enum class Kind {
    Accepted,  // the server took the message
    Refused,   // the server refused this message; others may still go
    Dropped,   // the server ended the session (421, or a connection closed
               // or reset): the message did not go, a new session may take it
    Broken,    // no usable session (connect, TLS, login, time-out): the
               // next message would fail the same way
  };
  Kind kind = Kind::Accepted;
  std::string cause;       // CP932: the server's reply, or what went wrong
  bool encrypted = false;  // the message went over TLS
  bool verified = false;   // ... to a server whose certificate was verified
};

class SmtpTransport {
 public:
  virtual ~SmtpTransport() = default;
  virtual SendOutcome send(const std::string& from, const std::string& to,
                           const std::string& message) = 0;
};

using TransportFactory = std::function<std::unique_ptr<SmtpTransport>(const AlertSettings&)>;

}  // namespace orvis::alertmail
