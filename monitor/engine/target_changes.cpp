#include "target_changes.h"

#include <cstdint>
#include <unordered_map>

#include "cp932_search.h"
#include "platform/bytes.h"
#include "platform/codec.h"

namespace orvis {
namespace {

constexpr std::size_t kStampLength = 19;
constexpr std::size_t kPathStart = kStampLength + 1;  // after the stamp and "@"

std::string_view stampOf(std::string_view line) { return line.substr(0, kStampLength); }
std::string_view pathOf(std::string_view line) {
  return line.size() > kPathStart ? line.substr(kPathStart) : std::string_view();
}
// "@" is the listing of nothing; an empty line names no file either.
bool namesAFile(std::string_view line) { return !line.empty() && line != "@"; }

std::string entry(const std::string& kind, std::string_view from, std::string_view to,
                  std::string_view path) {
  return kind + "[" + std::string(from) + "]->[" + std::string(to) + "] " + std::string(path);
}

// The program name of a process line "pid parent name": the text after the
// second blank.
std::string_view programName(std::string_view line) {
  std::size_t first = line.find(' ');
  if (first == std::string_view::npos) return {};
  std::size_t second = line.find(' ', first + 1);
  if (second == std::string_view::npos) return {};
  return line.substr(second + 1);
}

bool anyProgramNamed(const std::vector<std::string>& lines, const std::string& lowerName) {
  for (const std::string& line : lines) {
    if (findAtCharacter(platform::cp932AsciiLower(programName(line)), lowerName) !=
        std::string_view::npos)
      return true;
  }
  return false;
}

int64_t firstLineNumber(std::string_view text) {
  const std::vector<std::string> lines = platform::splitLines(text);
  if (lines.empty()) return 0;
  return platform::parseInt64(platform::trim(lines.front())).value_or(0);
}

}  // namespace

std::vector<std::string> listingChanges(std::string_view baseline, std::string_view snapshot) {
  const std::vector<std::string> before = platform::splitLines(baseline);
  const std::vector<std::string> now = platform::splitLines(snapshot);
  // Snapshot lines by their path, first listed first; a line leaves its
  // queue when a baseline line takes it.
  std::unordered_map<std::string_view, std::vector<std::size_t>> byPath;
  for (std::size_t i = now.size(); i-- > 0;)
    if (namesAFile(now[i])) byPath[pathOf(now[i])].push_back(i);
  std::vector<bool> taken(now.size(), false);

  std::vector<std::string> changes;
  for (const std::string& line : before) {
    if (!namesAFile(line)) continue;
    const std::string_view stamp = stampOf(line), path = pathOf(line);
    auto match = byPath.find(path);
    if (match == byPath.end() || match->second.empty()) {
      changes.push_back(entry(SJIS("[削除]"), stamp, "N/A", path));
      continue;
    }
    const std::size_t b = match->second.back();
    match->second.pop_back();
    taken[b] = true;
    if (stampOf(now[b]) != stamp)
      changes.push_back(entry(SJIS("[更新]"), stamp, stampOf(now[b]), path));
  }
  for (std::size_t i = 0; i < now.size(); ++i) {
    if (!taken[i] && namesAFile(now[i]))
      changes.push_back(entry(SJIS("[追加]"), "N/A", stampOf(now[i]), pathOf(now[i])));
  }
  return changes;
}

std::optional<std::string> processChange(std::string_view uri, std::string_view baseline,
                                         std::string_view snapshot) {
  const std::string name = platform::cp932AsciiLower(uri);
  const bool before = anyProgramNamed(platform::splitLines(baseline), name);
  const bool now = anyProgramNamed(platform::splitLines(snapshot), name);
  if (before && !now) return std::string(uri) + SJIS("が終了しました。");
  if (!before && now) return std::string(uri) + SJIS("が起動しました。");
  return std::nullopt;
}

std::optional<std::string> driveChange(std::string_view uri, std::string_view baseline,
                                       std::string_view snapshot) {
  const int64_t previous = firstLineNumber(baseline);
  const int64_t current = firstLineNumber(snapshot);
  // The disk is what comes before the first colon (a mount path may hold
  // blanks); the threshold is the first field after it.
  const std::size_t colon = uri.find(':');
  const std::string drive = platform::trim(uri.substr(0, colon));
  int64_t threshold = 0;
  if (colon != std::string_view::npos) {
    const std::vector<std::string> parts =
        platform::splitCommaList(platform::replaceAll(uri.substr(colon + 1), ":", ","));
    if (!parts.empty()) threshold = int64_t{platform::parseInt(parts.front()).value_or(0)} * 1024;
  }
  if (threshold < previous && threshold >= current)
    return drive + SJIS("ドライブの残量が") + std::to_string(current / 1024) +
           SJIS("GBとなりました。");
  return std::nullopt;
}

}  // namespace orvis
