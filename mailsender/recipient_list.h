#pragma once
// list.txt: one recipient per line, "address,mail type". The mail type is
// everything after the first comma and names the subject and body files.

#include <optional>
#include <string>
#include <vector>

namespace orvis::postiva {

struct RecipientList {
  bool ok = false;
  std::vector<std::string> lines;      // every line of the file, empty ones included
  int count = 0;                       // lines that hold a comma
  std::optional<std::string> badLine;  // the first line without a comma
};

// Reads work folder + "/list.txt". Not ok when the file is missing, when a
// non-empty line has no comma (badLine names it), or when no line has one.
RecipientList LoadRecipientList(const std::string& workFolder);

struct Recipient {
  std::string address;   // before the first comma
  std::string mailType;  // after it, further commas included; empty without a comma
};

// Splits a list line (already trimmed as a whole); the parts stay as they are.
Recipient splitRecipientLine(const std::string& line);

}  // namespace orvis::postiva
