#include "recipient_list.h"

#include "platform/bytes.h"
#include "platform/files.h"

namespace orvis {

std::optional<RecipientLine> splitRecipientLine(std::string_view line) {
  std::vector<std::string> fields = platform::splitCommaList(line);
  if (fields.size() != 2) return std::nullopt;
  return RecipientLine{std::move(fields[0]), std::move(fields[1])};
}

std::optional<RecipientList> RecipientList::load(const std::string& path) {
  if (!platform::fileExists(path)) return std::nullopt;
  auto lines = platform::readLines(path);
  if (!lines) return std::nullopt;
  return RecipientList(std::move(*lines));
}

int RecipientList::count(std::string_view group) const {
  int n = 0;
  for (const std::string& line : lines_) {
    auto r = splitRecipientLine(line);
    if (r && r->group == group) ++n;
  }
  return n;
}

std::vector<std::string> RecipientList::addresses(std::string_view group) const {
  std::vector<std::string> out;
  for (const std::string& line : lines_) {
    auto r = splitRecipientLine(line);
    if (r && r->group == group) out.push_back(line.substr(0, line.find(',')));
  }
  return out;
}

std::vector<std::string> RecipientList::otherGroupLines(std::string_view group) const {
  std::vector<std::string> out;
  for (const std::string& line : lines_) {
    auto r = splitRecipientLine(line);
    if (r && r->group != group) out.push_back(line);
  }
  return out;
}

}  // namespace orvis
