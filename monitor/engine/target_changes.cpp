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

bool anyProgramNamed(const std::vector<std::string>& lines, const std::string& lowerName) {
  for (const std::string& line : lines) {
    if (findAtCharacter(platform::cp932AsciiLower(programNameOf(line)), lowerName) !=
        std::string_view::npos)
      return true;
  }
  return false;
}

}  // namespace

std::string ListingChange::text() const {
  auto entry = [this](const std::string& label, std::string_view from, std::string_view to) {
    return label + "[" + std::string(from) + "]->[" + std::string(to) + "] " + path;
  };
  switch (kind) {
    case Kind::Updated:
      return entry(SJIS("[更新]"), oldStamp, newStamp);
    case Kind::Deleted:
      return entry(SJIS("[削除]"), oldStamp, "N/A");
    case Kind::Added:
      break;
  }
  return entry(SJIS("[追加]"), "N/A", newStamp);
}

std::vector<std::string> listingChanges(std::string_view baseline, std::string_view snapshot) {
  std::vector<std::string> texts;
  for (const ListingChange& change : listingChangeList(baseline, snapshot))
    texts.push_back(change.text());
  return texts;
}

std::string_view programNameOf(std::string_view line) {
  // The text after the second blank.
  std::size_t first = line.find(' ');
  if (first == std::string_view::npos) return {};
  std::size_t second = line.find(' ', first + 1);
  if (second == std::string_view::npos) return {};
  return line.substr(second + 1);
}

std::vector<ListingChange> listingChangeList(std::string_view baseline, std::string_view snapshot) {
  const std::vector<std::string> before = platform::splitLines(baseline);
  const std::vector<std::string> now = platform::splitLines(snapshot);
  // Snapshot lines by their path, first listed first; a line leaves its
  // queue when a baseline line takes it.
  std::unordered_map<std::string_view, std::vector<std::size_t>> byPath;
  for (std::size_t i = now.size(); i-- > 0;)
    if (namesAFile(now[i])) byPath[pathOf(now[i])].push_back(i);
  std::vector<bool> taken(now.size(), false);

  using Kind = ListingChange::Kind;
  std::vector<ListingChange> changes;
  for (const std::string& line : before) {
    if (!namesAFile(line)) continue;
    const std::string_view stamp = stampOf(line), path = pathOf(line);
    auto match = byPath.find(path);
    if (match == byPath.end() || match->second.empty()) {
      changes.push_back({Kind::Deleted, std::string(stamp), {}, std::string(path)});
      continue;
    }
    const std::size_t b = match->second.back();
    match->second.pop_back();
    taken[b] = true;
    if (stampOf(now[b]) != stamp)
      changes.push_back(
          {Kind::Updated, std::string(stamp), std::string(stampOf(now[b])), std::string(path)});
  }
  for (std::size_t i = 0; i < now.size(); ++i) {
    if (!taken[i] && namesAFile(now[i]))
      changes.push_back(
          {Kind::Added, {}, std::string(stampOf(now[i])), std::string(pathOf(now[i]))});
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

std::string driveOf(std::string_view uri) {
  // What comes before the first colon (a mount path may hold blanks).
  return platform::trim(uri.substr(0, uri.find(':')));
}

int64_t driveThresholdMb(std::string_view uri) {
  // The first field after the first colon, in gigabytes.
  const std::size_t colon = uri.find(':');
  if (colon == std::string_view::npos) return 0;
  const std::vector<std::string> parts =
      platform::splitCommaList(platform::replaceAll(uri.substr(colon + 1), ":", ","));
  if (parts.empty()) return 0;
  return int64_t{platform::parseInt(parts.front()).value_or(0)} * 1024;
}

int64_t freeSpaceMbOf(std::string_view snapshot) {
  const std::vector<std::string> lines = platform::splitLines(snapshot);
  if (lines.empty()) return 0;
  return platform::parseInt64(platform::trim(lines.front())).value_or(0);
}

std::optional<std::string> driveChange(std::string_view uri, std::string_view baseline,
                                       std::string_view snapshot) {
  const int64_t previous = freeSpaceMbOf(baseline);
  const int64_t current = freeSpaceMbOf(snapshot);
  const int64_t threshold = driveThresholdMb(uri);
  if (threshold < previous && threshold >= current)
    return driveOf(uri) + SJIS("ドライブの残量が") + std::to_string(current / 1024) +
           SJIS("GBとなりました。");
  return std::nullopt;
}

}  // namespace orvis
