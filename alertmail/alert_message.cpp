#include "alert_message.h"

#include "mail/header_word.h"
#include "mail/iso2022jp.h"
#include "mail_text.h"

namespace orvis::alertmail {

std::string headerText(std::string_view sjis) {
  if (sjis.empty()) return {};
  return mail::EncodeHeaderText(widenHalfwidthKana(sjis));
}

std::string buildAlertMessage(const AlertContent& content, std::string_view to,
                              std::string_view date, std::string_view messageId) {
  std::string m;
  auto line = [&m](std::string_view text) {
    m.append(text);
    m += "\r\n";
  };
  std::string senderName = headerText(content.senderName);

  line("subject: " + headerText(content.subject));
  line("to: " + std::string(to));
  line("from: " + senderName + (senderName.empty() ? "<" : " <") + content.senderAddress + ">");
  line("Mime-Version: 1.0");
  line(content.html ? "Content-Type: text/html;charset=\"iso-2022-jp\""
                    : "Content-Type: text/plain;charset=\"iso-2022-jp\"");
  line("Content-Transfer-Encoding: 7bit");
  line("X-Mailer: Mailer(Original)");
  line("Date: " + std::string(date));
  line("Message-ID: " + std::string(messageId));
  line("");
  for (const std::string& body : content.bodyLines) {
    for (const std::string& piece : foldLine(widenHalfwidthKana(body), kMaxMailLine)) {
      line(mail::ToIso2022Jp(piece));
    }
  }
  return m;
}

}  // namespace orvis::alertmail
