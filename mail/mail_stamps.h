#pragma once
// The two headers that change with every message, Date and Message-ID,
// behind an interface so that tests can fix them.

#include <string>
#include <string_view>

#include "platform/clock.h"

namespace orvis::alertmail {

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
// "<yyyymmddhhnnss.pid.n.random@domain>" ("alertmail.invalid" when the
// domain is empty).
class SystemMailStamps : public MailStamps {
 public:
  std::string date() override;
  std::string messageId(std::string_view domain) override;

 private:
  unsigned counter_ = 0;
};

}  // namespace orvis::alertmail
