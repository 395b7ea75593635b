// The INI text on any file: read it, set one key, write it, read it back.
// The key reads back as set, and every other line of the file is there
// unchanged and in its place: the changed key's line replaced in place, or
// one line added inside its section, or the section and the key added at
// the end.
//
// Input: a section name, a key and a value on the first three lines (LF),
// then the file. Names are made into names the program could use: one line,
// no blanks at their ends, a key without '=' that does not start a comment
// or a section.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "platform/bytes.h"
#include "platform/ini_file.h"

using orvis::platform::IniDocument;
using orvis::platform::trim;

namespace {

std::string_view takeLine(std::string_view& rest) {
  const std::size_t end = rest.find('\n');
  std::string_view line = rest.substr(0, end);
  rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  return line;
}

std::string withoutAny(std::string_view text, std::string_view bytes) {
  std::string out;
  for (char c : text)
    if (bytes.find(c) == std::string_view::npos) out += c;
  return out;
}

// The line of `doc` that sets `key` in the section, as set() writes it.
bool setsKey(const std::string& line, const std::string& key, const std::string& value) {
  const std::size_t eq = line.find('=');
  return eq != std::string::npos && line.substr(eq + 1) == value &&
         orvis::platform::cp932EqualsIgnoreCase(trim(line.substr(0, eq)), key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string section = trim(withoutAny(takeLine(rest), "\r"));
  std::string key = trim(withoutAny(takeLine(rest), "\r="));
  const std::string value = withoutAny(takeLine(rest), "\r");
  while (!key.empty() && (key[0] == ';' || key[0] == '[')) key = trim(key.substr(1));

  const IniDocument before = IniDocument::parse(rest);
  // Writing and reading again keeps every line.
  FUZZ_REQUIRE(IniDocument::parse(before.serialize()).lines() == before.lines());

  IniDocument changed = before;
  changed.set(section, key, value);
  const IniDocument after = IniDocument::parse(changed.serialize());
  FUZZ_REQUIRE(after.get(section, key) == trim(value));

  const std::vector<std::string>& was = before.lines();
  const std::vector<std::string>& now = after.lines();
  FUZZ_REQUIRE(now.size() >= was.size() && now.size() <= was.size() + 2);
  const std::size_t added = now.size() - was.size();
  std::size_t head = 0;
  while (head < was.size() && was[head] == now[head]) ++head;
  std::size_t tail = 0;
  while (tail < was.size() - head && was[was.size() - 1 - tail] == now[now.size() - 1 - tail])
    ++tail;
  const std::size_t replaced = was.size() - head - tail;
  FUZZ_REQUIRE(replaced <= 1 && (replaced == 0 || added == 0));
  // What differs: the key's line, or the section line before it.
  for (std::size_t i = head; i < now.size() - tail; ++i) {
    FUZZ_REQUIRE(setsKey(now[i], key, value) ||
                 (added == 2 && i + 1 == now.size() - 1 && now[i] == "[" + section + "]"));
  }
  return 0;
}
