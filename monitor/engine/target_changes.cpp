#include "target_changes.h"

#include <cstdint>

#include "cp932_search.h"
#include "platform/bytes.h"
#include "platform/codec.h"

namespace orvis {
namespace {

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
  std::string out;
  appendListingEntry(out, {kind, oldStamp, newStamp, path});
  return out;
}

std::vector<std::string> listingChanges(std::string_view baseline, std::string_view snapshot) {
  std::vector<std::string> texts;
  forEachListingChange(baseline, snapshot, [&texts](const ListingChangeView& change) {
    appendListingEntry(texts.emplace_back(), change);
  });
  return texts;
}

std::vector<ListingChange> listingChangeList(std::string_view baseline, std::string_view snapshot) {
  std::vector<ListingChange> changes;
  forEachListingChange(baseline, snapshot, [&changes](const ListingChangeView& c) {
    changes.push_back(
        {c.kind, std::string(c.oldStamp), std::string(c.newStamp), std::string(c.path)});
  });
  return changes;
}

std::string_view programNameOf(std::string_view line) {
  // The text after the second blank.
  std::size_t first = line.find(' ');
  if (first == std::string_view::npos) return {};
  std::size_t second = line.find(' ', first + 1);
  if (second == std::string_view::npos) return {};
  return line.substr(second + 1);
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
