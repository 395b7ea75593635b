#pragma once
// The recipient list "mail/list.txt": one recipient per line, the address,
// a comma and the mail group number (from 0). The alerts count a group's
// lines; the settings dialog lists a group's addresses and rewrites the
// list keeping the other groups' lines. All split a line the same way.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvis {

struct RecipientLine {
  std::string address;
  std::string group;  // as written, compared as text
};

// A line that splits by the comma-list rules into exactly two fields;
// nullopt for any other line.
std::optional<RecipientLine> splitRecipientLine(std::string_view line);

class RecipientList {
 public:
  RecipientList() = default;
  explicit RecipientList(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  // The list file's lines; nullopt when it does not exist or cannot be read.
  static std::optional<RecipientList> load(const std::string& path);

  // The lines of group `group` (its number as decimal text).
  int count(std::string_view group) const;
  // The addresses of the group as written: each line's part before its
  // first comma.
  std::vector<std::string> addresses(std::string_view group) const;
  // The lines of every other group, unchanged and in order. Lines that do
  // not split into two fields belong to no group and are left out.
  std::vector<std::string> otherGroupLines(std::string_view group) const;

  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace orvis
