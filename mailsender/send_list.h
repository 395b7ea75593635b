#pragma once
// The recipient list of the work folder as Postiva takes it in at start-up:
// every line of "list.txt", to be worked through from the top. A non-empty
// line must hold a comma (see mail::RecipientLine::splitAtFirstComma).

#include <optional>
#include <string>
#include <vector>

namespace orvis::postiva {

struct SendList {
  bool ok = false;
  std::vector<std::string> lines;      // every line of the file, empty ones included
  int count = 0;                       // lines that hold a comma
  std::optional<std::string> badLine;  // the first line without a comma
};

// Reads work folder + "/list.txt". Not ok when the file is missing, when a
// non-empty line has no comma (badLine names it), or when no line has one.
SendList loadSendList(const std::string& workFolder);

}  // namespace orvis::postiva
