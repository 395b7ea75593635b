#pragma once
// What a run works through: the recipient list lines still to go and the
// message of the current recipient. The window's data controls held them
// once; here they are one record, so that the mail logic runs and is tested
// without any window. Texts are CP932 bytes as read from the files.

#include <string>
#include <vector>

namespace orvis::postiva {

struct Outbox {
  std::vector<std::string> listLines;  // Memo5: list lines still to be worked through
  std::string subject;                 // Edit1: subject of the current recipient's message
  std::vector<std::string> bodyLines;  // Memo4: its body lines
};

}  // namespace orvis::postiva
