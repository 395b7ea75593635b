// The Windows command-line rules on any line, and the quoting the launchers
// write their command lines with: the words a line splits into come back
// unchanged when each is quoted and the line is split again, and so does
// any list of arguments read from the input.
//
// Input: the line; the same bytes cut at each NUL are the argument list.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "platform/bytes.h"

namespace platform = orvis::platform;

namespace {

std::string commandLine(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) {
    if (!line.empty()) line += ' ';
    line += platform::quoteArgument(word);
  }
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> words = platform::splitCommandLine(line);
  FUZZ_REQUIRE(platform::splitCommandLine(commandLine(words)) == words);

  std::vector<std::string> arguments;
  for (std::size_t start = 0; start <= line.size();) {
    const std::size_t end = std::min(line.find('\0', start), line.size());
    arguments.emplace_back(line.substr(start, end - start));
    start = end + 1;
  }
  FUZZ_REQUIRE(platform::splitCommandLine(commandLine(arguments)) == arguments);
  return 0;
}
