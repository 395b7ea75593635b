#pragma once
// The two headers that change with every message, Date and Message-ID, that
// every mailer of the system writes: a server that adds none for a client
// it does not count as local would deliver a message without them, and
// filters mark such mail down. Behind an interface so that tests fix them.

#include <string>
#include <string_view>

#include "platform/clock.h"

namespace orvis::mail {

class MailStamps {
 public:
  virtual ~MailStamps() = default;
  virtual std::string date() = 0;
  // A new unique id "<...@domain>" on every call.
  virtual std::string messageId(std::string_view domain) = 0;
};

// RFC 5322 date: "Mon, 07 Dec 2026 09:05:03 +0900".
std::string formatMailDate(const platform::LocalTime& t, int utcOffsetMinutes);

// The domain part of an address when it looks like a host name, else the
// empty text.
std::string addressDomain(std::string_view address);

// Local time with the zone's offset of the moment, and message ids
// "<yyyymmddhhnnss.pid.n.random@domain>", `fallbackDomain` standing in for
// an empty domain.
class SystemMailStamps : public MailStamps {
 public:
  explicit SystemMailStamps(std::string fallbackDomain)
      : fallbackDomain_(std::move(fallbackDomain)) {}
  std::string date() override;
  std::string messageId(std::string_view domain) override;

 private:
  std::string fallbackDomain_;
  unsigned counter_ = 0;
};

}  // namespace orvis::mail
