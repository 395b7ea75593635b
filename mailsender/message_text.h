#pragma once
// The message as it goes out after DATA's 354: the headers in their fixed
// case and order with Date and Message-ID after them, the body converted to ISO-2022-JP line by
// line with dot-stuffing, and the end mark.

#include <string>
#include <vector>

namespace orvis::postiva {

struct MessageText {
  std::string subjectLine;  // "subject: " + encoded words, without CR LF
  std::string wire;         // every byte from the subject line to ".\r\n"
};

// What identifies one message: its Date and Message-ID values.
struct MessageStamp {
  std::string date;
  std::string messageId;
};

// `subject`, `senderName` and the body lines are CP932 text.
MessageText composeMessage(const std::string& subject, const std::string& recipient,
                           const std::string& senderName, const std::string& senderAddress,
                           const std::vector<std::string>& body, const MessageStamp& stamp);

}  // namespace orvis::postiva
