#pragma once
// One alert as it goes to one recipient: the headers every mailer of the
// system sends, and the body as 7-bit ISO-2022-JP lines.

#include <string>
#include <string_view>
#include <vector>

namespace orvis::alertmail {

struct AlertContent {
  std::string subject;                 // CP932, the first line of Subject-0.txt
  std::vector<std::string> bodyLines;  // CP932, the lines of Body-0.txt
  bool html = false;
  std::string senderName;  // CP932
  std::string senderAddress;
};

// SMTP allows 998 bytes on a line before its CR LF.
constexpr size_t kMaxMailLine = 998;

// The whole message with CR LF line ends and without the end mark; the
// transport adds the end mark and the dot-stuffing of SMTP.
std::string buildAlertMessage(const AlertContent& content, std::string_view to,
                              std::string_view date, std::string_view messageId);

// The header value of a text: its encoded word(s), or nothing for an empty
// text (an empty encoded word is not a valid one, and mailers show it raw).
std::string headerText(std::string_view sjis);

}  // namespace orvis::alertmail
