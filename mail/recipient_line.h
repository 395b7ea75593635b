#pragma once
// One line of the recipient list "list.txt": an address, a comma and the
// number of the recipient's mail group. Postiva calls the part after the
// comma the mail type and names the subject and body files after it, so
// its reading keeps every further comma; the monitor and alertmail take a
// line as a group's recipient only when it holds exactly two fields.

#include <optional>
#include <string>
#include <string_view>

namespace orvis::mail {

struct RecipientLine {
  std::string address;
  std::string group;  // as written, compared as text

  // The group reading: the line split by the comma-list rules (blanks also
  // end a field, double quotes group) into exactly two fields; nullopt for
  // any other line.
  static std::optional<RecipientLine> parse(std::string_view line);

  // The sender's reading: the address before the first comma, the group
  // everything after it; without a comma the whole line is the address.
  // Neither part is trimmed.
  static RecipientLine splitAtFirstComma(std::string_view line);
};

}  // namespace orvis::mail
