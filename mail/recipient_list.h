#pragma once
// The recipient list "mail/list.txt" read by mail group: the alerts and the
// mail test count a group's lines, alertmail mails them, the settings
// dialog lists a group's addresses and rewrites the list keeping the other
// groups' lines. A line belongs to a group by RecipientLine::parse.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recipient_line.h"

namespace orvis::mail {

class RecipientList {
 public:
  RecipientList() = default;
  explicit RecipientList(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  // The list file's lines; nullopt when it does not exist or cannot be read.
  static std::optional<RecipientList> load(const std::string& path);

  // The lines of group `group` (its number as decimal text), in list order.
  std::vector<RecipientLine> members(std::string_view group) const;
  int count(std::string_view group) const { return static_cast<int>(members(group).size()); }
  // The addresses of the group as written: each line's part before its
  // first comma, blanks and quotes included.
  std::vector<std::string> addresses(std::string_view group) const;
  // The lines of every other group, unchanged and in order. Lines that
  // belong to no group are left out.
  std::vector<std::string> otherGroupLines(std::string_view group) const;

  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace orvis::mail
