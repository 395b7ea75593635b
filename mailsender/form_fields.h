#pragma once
// The data that the controls of Postiva's window hold (URL, Edit1 to Edit4,
// job, Memo4, Memo5), kept in one record so that the mail logic runs and is
// tested without any window. Texts are CP932 bytes as read from the files.

#include <string>
#include <vector>

namespace orvis::postiva {

struct FormFields {
  std::string URL;                 // SMTP server host
  std::string Edit2;               // client name sent with HELO
  std::string Edit3;               // sender mail address
  std::string Edit4;               // sender display name
  std::string job;                 // the command-line argument
  std::string Edit1;               // subject of the current recipient's message
  std::vector<std::string> Memo4;  // body lines of the current recipient's message
  std::vector<std::string> Memo5;  // recipient list lines still to be worked through
};

}  // namespace orvis::postiva
