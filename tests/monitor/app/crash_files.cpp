#include "crash_files.h"

#include <algorithm>
#include <regex>
#include <unordered_set>

#include "platform/bytes.h"
#include "platform/files.h"
#include "platform/ini_file.h"
#include "support/temp_dir.h"

namespace orvis::testing {
namespace {

constexpr size_t kPadding = 96 * 1024;

// A settings file whole: every filler key and the closing section. The
// lines are looked up in a set: the test judges the folder after every kill.
void checkSettings(const std::string& path, std::vector<std::string>& found) {
  if (!platform::loadIniFile(path)) return found.push_back(path + ": unreadable");
  const std::vector<std::string> lines = readLines(path);
  const std::unordered_set<std::string> present(lines.begin(), lines.end());
  for (int k = 0; k < kFillerKeys; ++k)
    if (!present.contains(fillerKey(k)))
      return found.push_back(path + ": torn at KEY" + std::to_string(k));
  if (lines.size() < 2 || lines[lines.size() - 2] != "[END]" || lines.back() != "LAST=1")
    found.push_back(path + ": no end");
}

void checkMode(const std::string& path, std::vector<std::string>& found) {
  if (!platform::pathExists(path)) return;
  auto doc = platform::loadIniFile(path);
  const std::string mode = doc ? doc->get("COMMON", "MODE").value_or("<none>") : "<unreadable>";
  if (mode != "0" && mode != "1" && mode != "2") found.push_back(path + ": MODE " + mode);
}

// The watcher's line and all or none of group 1's lines, of one round.
void checkRecipients(const std::string& path, std::vector<std::string>& found) {
  const std::vector<std::string> lines = readLines(path);
  if (std::find(lines.begin(), lines.end(), "watch@example.com,0") == lines.end())
    return found.push_back(path + ": the first group is gone");
  std::vector<std::string> rounds;
  for (const std::string& line : lines)
    if (line.ends_with(",1")) rounds.push_back(line.substr(1, line.find('-') - 1));
  if (!rounds.empty() && (rounds.size() != static_cast<size_t>(kRecipients) ||
                          std::count(rounds.begin(), rounds.end(), rounds.front()) != kRecipients))
    found.push_back(path + ": " + std::to_string(rounds.size()) + " lines of group 1, mixed");
}

void checkLog(const std::string& folder, std::vector<std::string>& found) {
  static const std::regex kLine(R"(\d{4}/\d\d/\d\d,\d\d:\d\d:\d\d\.\d{3},\(OrvisWatch\),.*)");
  for (const std::string& name : platform::listFolder(folder, "*.txt")) {
    const std::string text = readText(folder + name);
    if (!text.empty() && !text.ends_with("\r\n")) found.push_back(name + ": a cut line at the end");
    for (const std::string& line : platform::splitLines(text))
      if (!std::regex_match(line, kLine)) found.push_back(name + ": line '" + line + "'");
  }
}

// P, P.1 ... P.20: whole pages, no gap, each older by one page or equal.
void checkGenerations(const std::string& path, std::vector<std::string>& found) {
  std::vector<long> pages;
  bool gap = false;
  for (int k = 0; k <= 20; ++k) {
    const std::string file = k == 0 ? path : path + "." + std::to_string(k);
    if (!platform::pathExists(file)) {
      gap = k > 0;
      continue;
    }
    if (gap) found.push_back(file + ": after a missing generation");
    const long n = pageNumberOf(readText(file));
    if (n < 0) return found.push_back(file + ": torn");
    if (!pages.empty() && pages.back() - n != 0 && pages.back() - n != 1)
      found.push_back(file + ": page " + std::to_string(n) + " after " +
                      std::to_string(pages.back()));
    pages.push_back(n);
  }
}

}  // namespace

std::string fillerKey(int k) {
  return "KEY" + std::to_string(k) + "=value " + std::to_string(k) + std::string(20, 'v');
}

std::string pageText(long n) {
  const std::string number = std::to_string(n);
  return "<html>page " + number + "</html>\r\n" + std::string(kPadding, 'y') + "\r\nEND " + number +
         "\r\n";
}

long pageNumberOf(const std::string& text) {
  static const std::regex kHead(R"(<html>page (\d+)</html>\r\n)");
  std::smatch m;
  const std::string head = text.substr(0, text.find('\n') + 1);
  if (!std::regex_match(head, m, kHead)) return -1;
  const long n = std::stol(m[1]);
  return text == pageText(n) ? n : -1;
}

long newestPage(const std::string& folder) {
  const std::string baseline = folder + "src/1.ini";
  return std::max({0L, pageNumberOf(readText(baseline)), pageNumberOf(readText(baseline + ".1"))});
}

std::vector<std::string> damage(const std::string& folder) {
  std::vector<std::string> found;
  checkSettings(folder + "ORVIS.ini", found);
  checkSettings(folder + "info/1.ini", found);
  checkMode(folder + "Mode.tmp", found);
  checkRecipients(folder + "mail/list.txt", found);
  checkLog(folder + "syslog/", found);
  checkGenerations(folder + "src/1.ini", found);
  checkGenerations(folder + "word/1.ini", found);
  return found;
}

}  // namespace orvis::testing
