// The Windows command-line rules on any line: the words it splits into come
// back unchanged when each is quoted for such a line and the line is split
// again, and so does any list of arguments read from the input.
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

// The word as it must stand on a line split by the Windows rules: bare when
// nothing in it needs quotes, otherwise quoted with its quotes escaped and
// the backslashes before a quote (and before the closing one) doubled.
// TODO(fuzz): use the library's quoting once the launchers' own lands.
std::string quoteWord(std::string_view word) {
  if (!word.empty() && word.find_first_of(" \t\"") == std::string_view::npos)
    return std::string(word);
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : word) {
    if (c == '\\') {
      ++backslashes;
    } else {
      if (c == '"') quoted.append(backslashes + 1, '\\');
      backslashes = 0;
    }
    quoted += c;
  }
  quoted.append(backslashes, '\\');
  return quoted + '"';
}

std::string commandLine(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) {
    if (!line.empty()) line += ' ';
    line += quoteWord(word);
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
