#pragma once
// Delivery of one finished message to one recipient. The program's
// transport speaks SMTP through libcurl and keeps its connection open from
// one message to the next; tests hand in a fake.

#include <functional>
#include <memory>
#include <string>

#include "alert_settings.h"

namespace orvis::alertmail {

struct SendOutcome {
  enum class Kind {
    Accepted,  // the server took the message
    Refused,   // the server refused this message; others may still go
    Broken,    // no usable session (connect, TLS, login, time-out): the
               // next message would fail the same way
  };
  Kind kind = Kind::Accepted;
  std::string cause;       // the server's reply, or what went wrong
  bool encrypted = false;  // the message went over TLS
};

class SmtpTransport {
 public:
  virtual ~SmtpTransport() = default;
  virtual SendOutcome send(const std::string& from, const std::string& to,
                           const std::string& message) = 0;
};

using TransportFactory = std::function<std::unique_ptr<SmtpTransport>(const AlertSettings&)>;

}  // namespace orvis::alertmail
