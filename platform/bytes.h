#pragma once
// Helpers on byte strings (CP932 text as stored): ASCII case, trimming,
// whole-number parsing, and the two ways the system splits a line into
// words: the Windows command-line rules and the comma-list rules.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvis::platform {

// Byte-wise ASCII case change; every other byte stays.
std::string asciiUpper(std::string_view s);
std::string asciiLower(std::string_view s);

// Case change of the ASCII letters of a CP932 text; the trail byte of a
// two-byte character is never taken for a letter.
std::string cp932AsciiLower(std::string_view s);

// Equality ignoring the case of ASCII letters, CP932-aware.
bool cp932EqualsIgnoreCase(std::string_view a, std::string_view b);

// Removes leading and trailing blanks and control characters (bytes 0x00
// to 0x20).
std::string trim(std::string_view s);
// The same without a copy: the part of `s` that trim() keeps.
std::string_view trimmedView(std::string_view s);
std::string trimLeft(std::string_view s);
std::string trimRight(std::string_view s);

// A whole decimal number: optional sign and digits only, within 32 bits.
std::optional<int> parseInt(std::string_view s);
std::optional<int64_t> parseInt64(std::string_view s);

// Replaces every occurrence of `from` by `to`, scanning left to right.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);

// Splits a command line into words by the Windows rules: blanks and tabs
// separate words, double quotes group (and are removed), 2n backslashes
// before a quote stand for n backslashes, 2n+1 for n and a literal quote.
std::vector<std::string> splitCommandLine(std::string_view line);

// The word as it must stand on a command line that splitCommandLine splits,
// so that it comes back unchanged whatever it holds: as it is when it holds
// no blank, tab or double quote and is not empty; otherwise in double quotes,
// each quote inside escaped with a backslash and the backslashes before a
// quote (and before the closing one) doubled.
std::string quoteArgument(std::string_view word);

// Splits a line by the comma-list rules: a comma ends a field; blanks and
// control characters (bytes 1 to 32) also end a field and are skipped
// around fields, a comma after them being the same separator; a field that
// starts with a double quote runs to the closing quote, two quotes inside
// standing for one; a comma at the start or right after another comma gives
// an empty field, a comma at the very end gives none.
std::vector<std::string> splitCommaList(std::string_view line);

// Splits a text into lines at CR LF, lone LF or lone CR. A final line break
// does not start another line.
std::vector<std::string> splitLines(std::string_view text);

// The lines of a text one after another, as splitLines gives them, each a
// view into the text: nothing is copied.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}

  // The next line without its break; false after the last.
  bool next(std::string_view& line) {
    if (at_ >= text_.size()) return false;
    const char* const begin = text_.data() + at_;
    const char* const end = text_.data() + text_.size();
    const char* p = begin;
    while (p != end && *p != '\r' && *p != '\n') ++p;
    line = std::string_view(begin, static_cast<std::size_t>(p - begin));
    if (p != end) {
      if (*p == '\r' && p + 1 != end && p[1] == '\n') ++p;
      ++p;
    }
    at_ = static_cast<std::size_t>(p - text_.data());
    return true;
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

// Joins lines, each followed by CR LF.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace orvis::platform
