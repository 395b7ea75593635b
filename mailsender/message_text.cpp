#include "message_text.h"

#include "mail/header_word.h"
#include "mail/iso2022jp.h"
#include "mail/message_headers.h"

namespace orvis::postiva {

MessageText composeMessage(const std::string& subject, const std::string& recipient,
                           const std::string& senderName, const std::string& senderAddress,
                           const std::vector<std::string>& body, const MessageStamp& stamp) {
  mail::MessageHeaders headers;
  // Both always go as encoded words, even an empty or a plain ASCII text.
  headers.subject = mail::encodeHeaderText(subject);
  headers.to = recipient;
  headers.senderName = mail::encodeHeaderText(senderName);
  headers.senderAddress = senderAddress;
  headers.date = stamp.date;
  headers.messageId = stamp.messageId;

  MessageText m;
  m.subjectLine = mail::subjectLine(headers.subject);
  std::string& w = m.wire;
  w = mail::headerLines(headers) + "\r\n";
  for (const auto& line : body) {
    if (!line.empty()) {
      std::string jis = mail::toIso2022Jp(line);
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
