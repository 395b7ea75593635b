#include "recipient_line.h"

#include <vector>

#include "platform/bytes.h"

namespace orvis::mail {

std::optional<RecipientLine> RecipientLine::parse(std::string_view line) {
  std::vector<std::string> fields = platform::splitCommaList(line);
  if (fields.size() != 2) return std::nullopt;
  return RecipientLine{std::move(fields[0]), std::move(fields[1])};
}

RecipientLine RecipientLine::splitAtFirstComma(std::string_view line) {
  size_t comma = line.find(',');
  if (comma == std::string_view::npos) return {std::string(line), {}};
  return {std::string(line.substr(0, comma)), std::string(line.substr(comma + 1))};
}

}  // namespace orvis::mail
