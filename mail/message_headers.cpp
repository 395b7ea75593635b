#include "message_headers.h"

namespace orvis::mail {

std::string subjectLine(std::string_view subject) { return "subject: " + std::string(subject); }

std::string headerLines(const MessageHeaders& h) {
  std::string from = h.senderName.empty() ? "<" : h.senderName + " <";
  std::string out = subjectLine(h.subject) + "\r\n";
  out += "to: " + h.to + "\r\n";
  out += "from: " + from + h.senderAddress + ">\r\n";
  out += "Mime-Version: 1.0\r\n";
  out += h.html ? "Content-Type: text/html;charset=\"iso-2022-jp\"\r\n"
                : "Content-Type: text/plain;charset=\"iso-2022-jp\"\r\n";
  out += "Content-Transfer-Encoding: 7bit\r\n";
  out += "X-Mailer: Mailer(Original)\r\n";
  if (!h.date.empty()) out += "Date: " + h.date + "\r\n";
  if (!h.messageId.empty()) out += "Message-ID: " + h.messageId + "\r\n";
  return out;
}

}  // namespace orvis::mail
