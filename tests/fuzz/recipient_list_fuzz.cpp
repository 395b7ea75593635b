// The recipient list on any file, and the two readings of its lines.
// A group's members, its count and its addresses agree with each other, and
// together with the other groups' lines they are every line that belongs to
// a group, in list order. A line's comma-list fields come back unchanged when
// written again in quotes; the sender's reading keeps every byte of the line.
//
// Input: a byte choosing the group ("0" to "3"), then the file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "mail/recipient_line.h"
#include "mail/recipient_list.h"
#include "platform/bytes.h"

using orvis::mail::RecipientLine;
using orvis::mail::RecipientList;
namespace platform = orvis::platform;

namespace {

// The fields as a line that the comma-list rules read back as them.
std::string quotedFields(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& field : fields) {
    if (!line.empty()) line += ',';
    line += '"' + platform::replaceAll(field, "\"", "\"\"") + '"';
  }
  return line;
}

void checkLine(const std::string& line) {
  const std::vector<std::string> fields = platform::splitCommaList(line);
  for (const std::string& field : fields) FUZZ_REQUIRE(field.find('\0') == std::string::npos);
  FUZZ_REQUIRE(platform::splitCommaList(quotedFields(fields)) == fields);
  FUZZ_REQUIRE(RecipientLine::parse(line).has_value() == (fields.size() == 2));

  const RecipientLine sender = RecipientLine::splitAtFirstComma(line);
  FUZZ_REQUIRE(sender.address.find(',') == std::string::npos);
  FUZZ_REQUIRE(line.find(',') == std::string::npos ? sender.address == line && sender.group.empty()
                                                   : sender.address + ',' + sender.group == line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string group(1, static_cast<char>('0' + data[0] % 4));
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::vector<std::string> lines = platform::splitLines(text);
  FUZZ_REQUIRE(platform::splitLines(platform::joinLinesCrLf(lines)) == lines);

  const RecipientList list(lines);
  const std::vector<RecipientLine> members = list.members(group);
  const std::vector<std::string> addresses = list.addresses(group);
  const std::vector<std::string> others = list.otherGroupLines(group);
  FUZZ_REQUIRE(list.count(group) == static_cast<int>(members.size()));
  FUZZ_REQUIRE(addresses.size() == members.size());

  // Walk the list once more: each line that belongs to a group is the next
  // member or the next other line.
  std::size_t member = 0, other = 0;
  for (const std::string& line : lines) {
    checkLine(line);
    const auto parsed = RecipientLine::parse(line);
    if (!parsed) continue;
    if (parsed->group == group) {
      FUZZ_REQUIRE(member < members.size());
      FUZZ_REQUIRE(members[member].address == parsed->address);
      ++member;
    } else {
      FUZZ_REQUIRE(other < others.size() && others[other] == line);
      ++other;
    }
  }
  FUZZ_REQUIRE(member == members.size() && other == others.size());
  return 0;
}
