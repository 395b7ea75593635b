#pragma once
// The command line the monitor starts alertmail with: D G H, D the data
// folder, G the mail group number from 0, H "1" for HTML mail.

#include <optional>
#include <string>
#include <vector>

namespace orvis::alertmail {

struct AlertRequest {
  std::string dataFolder;  // with a trailing '/'
  std::string group;       // decimal digits, compared as text with list.txt
  bool html = false;
};

struct ParsedArguments {
  std::optional<AlertRequest> request;
  std::string error;               // CP932, set when request is empty
  std::vector<std::string> notes;  // worth a log line, not a reason to stop
};

// The words after the program name. H may be missing: the monitor passes
// the job's HTML flag as it is stored, and an empty flag leaves no word;
// like any missing flag it reads as off.
ParsedArguments parseArguments(const std::vector<std::string>& args);

}  // namespace orvis::alertmail
