#include "message_text.h"

#include "mail/header_word.h"
#include "mail/iso2022jp.h"

namespace orvis::postiva {

MessageText composeMessage(const std::string& subject, const std::string& recipient,
                           const std::string& senderName, const std::string& senderAddress,
                           const std::vector<std::string>& body) {
  MessageText m;
  m.subjectLine = "subject: " + mail::EncodeHeaderText(subject);
  std::string& w = m.wire;
  w += m.subjectLine + "\r\n";
  w += "to: " + recipient + "\r\n";
  w += "from: " + mail::EncodeHeaderText(senderName) + " <" + senderAddress + ">\r\n";
  w += "Mime-Version: 1.0\r\n";
  w += "Content-Type: text/plain;charset=\"iso-2022-jp\"\r\n";
  w += "Content-Transfer-Encoding: 7bit\r\n";
  w += "X-Mailer: Mailer(Original)\r\n";
  w += "\r\n";
  for (const auto& line : body) {
    if (!line.empty()) {
      std::string jis = mail::ToIso2022Jp(line);
      // A line that starts with a dot would otherwise end the text early.
      if (jis.front() == '.') w += '.';
      w += jis;
    }
    w += "\r\n";
  }
  w += ".\r\n";
  return m;
}

}  // namespace orvis::postiva
