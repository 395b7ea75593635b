#include "recipient_list.h"

#include "platform/bytes.h"
#include "platform/files.h"

namespace orvis::postiva {

RecipientList LoadRecipientList(const std::string& workFolder) {
  RecipientList list;
  auto text = platform::readFile(workFolder + "/list.txt");
  if (!text) return list;
  list.lines = platform::splitLines(*text);
  for (const auto& line : list.lines) {
    if (line.empty()) continue;
    if (line.find(',') == std::string::npos) {
      list.badLine = line;
      return list;
    }
    ++list.count;
  }
  list.ok = list.count > 0;
  return list;
}

Recipient splitRecipientLine(const std::string& line) {
  auto comma = line.find(',');
  if (comma == std::string::npos) return {line, ""};
  return {line.substr(0, comma), line.substr(comma + 1)};
}

}  // namespace orvis::postiva
