#pragma once
// The header lines every mail of the system starts with, in the case and
// order the mail sender has always sent them: subject, to, from, the MIME
// lines for 7-bit ISO-2022-JP text and the mailer's name, then Date and
// Message-ID.

#include <string>
#include <string_view>

namespace orvis::mail {

struct MessageHeaders {
  std::string subject;     // the header value: encoded words
  std::string to;          // an address
  std::string senderName;  // the header value: encoded words; may be empty
  std::string senderAddress;
  bool html = false;      // text/html instead of text/plain
  std::string date;       // "Date" value (see mail_stamps.h); left out when empty
  std::string messageId;  // "Message-ID" value; left out when empty
};

// "subject: " and the value, without CR LF, as the sender logs it.
std::string subjectLine(std::string_view subject);

// Every line with its CR LF. The blank line that ends the headers is left
// to the caller, who may add lines of its own first.
std::string headerLines(const MessageHeaders& headers);

}  // namespace orvis::mail
