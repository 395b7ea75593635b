#pragma once
// The command line the monitor starts urlcheck with:
//   urlcheck "URI" "OUTPUT" USEPROXY
// A monitor that passes the URI unquoted splits one with a blank into
// several words; they are joined again.

#include <optional>
#include <string>
#include <vector>

namespace orvis::fetcher {

struct FetchArguments {
  std::string address;     // the words before the last two, joined with one blank
  std::string outputPath;  // the next to last word
  bool useProxy = false;   // the last word is exactly "1"
  std::string proxyFlag;   // the last word as given
};

// `args` without the program name; nullopt when fewer than three words.
std::optional<FetchArguments> parseFetchArguments(const std::vector<std::string>& args);

}  // namespace orvis::fetcher
