#include "alert_message.h"

#include "mail/header_word.h"
#include "mail/iso2022jp.h"
#include "mail/message_headers.h"
#include "mail_text.h"

namespace orvis::alertmail {

std::string headerText(std::string_view sjis) {
  if (sjis.empty()) return {};
  return mail::encodeHeaderText(widenHalfwidthKana(sjis));
}

std::string buildAlertMessage(const AlertContent& content, std::string_view to,
                              std::string_view date, std::string_view messageId) {
  mail::MessageHeaders headers;
  headers.subject = headerText(content.subject);
  headers.to = std::string(to);
  headers.senderName = headerText(content.senderName);
  headers.senderAddress = content.senderAddress;
  headers.html = content.html;
  headers.date = std::string(date);
  headers.messageId = std::string(messageId);

  std::string m = mail::headerLines(headers);
  auto line = [&m](std::string_view text) {
    m.append(text);
    m += "\r\n";
  };
  line("");
  for (const std::string& body : content.bodyLines) {
    for (const std::string& piece : foldLine(widenHalfwidthKana(body), kMaxMailLine)) {
      line(mail::toIso2022Jp(piece));
    }
  }
  return m;
}

}  // namespace orvis::alertmail
