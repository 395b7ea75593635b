#pragma once
// Date and Message-ID fixed, so that whole messages can be compared.

#include <string>
#include <string_view>

#include "mail/mail_stamps.h"

namespace orvis::testing {

class FixedMailStamps : public mail::MailStamps {
 public:
  static constexpr const char* kDate = "Mon, 07 Dec 2026 09:05:03 +0900";
  std::string date() override { return kDate; }
  std::string messageId(std::string_view domain) override {
    return "<n@" + std::string(domain) + ">";
  }
};

}  // namespace orvis::testing
