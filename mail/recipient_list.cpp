#include "recipient_list.h"

#include "platform/files.h"

namespace orvis::mail {

std::optional<RecipientList> RecipientList::load(const std::string& path) {
  if (!platform::fileExists(path)) return std::nullopt;
  auto lines = platform::readLines(path);
  if (!lines) return std::nullopt;
  return RecipientList(std::move(*lines));
}

std::vector<RecipientLine> RecipientList::members(std::string_view group) const {
  std::vector<RecipientLine> out;
  for (const std::string& line : lines_) {
    auto r = RecipientLine::parse(line);
    if (r && r->group == group) out.push_back(std::move(*r));
  }
  return out;
}

std::vector<std::string> RecipientList::addresses(std::string_view group) const {
  std::vector<std::string> out;
  for (const std::string& line : lines_) {
    auto r = RecipientLine::parse(line);
    if (r && r->group == group) out.push_back(line.substr(0, line.find(',')));
  }
  return out;
}

std::vector<std::string> RecipientList::otherGroupLines(std::string_view group) const {
  std::vector<std::string> out;
  for (const std::string& line : lines_) {
    auto r = RecipientLine::parse(line);
    if (r && r->group != group) out.push_back(line);
  }
  return out;
}

}  // namespace orvis::mail
