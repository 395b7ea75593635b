#include "send_list.h"

#include "mail/recipient_list.h"

namespace orvis::postiva {

SendList loadSendList(const std::string& workFolder) {
  SendList list;
  auto file = mail::RecipientList::load(workFolder + "/list.txt");
  if (!file) return list;
  list.lines = file->lines();
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

}  // namespace orvis::postiva
