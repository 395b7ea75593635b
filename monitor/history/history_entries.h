#pragma once
// The stored versions of a job's target: the baseline and its generations,
// newest first, as the files stand. Nothing here writes.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvis {

struct HistoryEntry {
  int place = 0;  // 0 the baseline, 1 to 20 the generations, 1 the newest
  std::string path;
  std::time_t stored = 0;  // the file's last write
  std::uint64_t size = 0;
};

// The entries whose files exist (regular files only), by place.
std::vector<HistoryEntry> historyEntries(const std::string& baselinePath);

// A place as an operator names it: "baseline" (or "0") and 1 to 20.
std::optional<int> placeFromText(std::string_view text);
// "baseline" or the number.
std::string placeText(int place);

// Local time, "2026/12/07 09:05:03".
std::string storedText(std::time_t stored);

// The older of two entries first (the higher place), then the newer.
inline std::pair<const HistoryEntry*, const HistoryEntry*> olderThenNewer(const HistoryEntry& a,
                                                                          const HistoryEntry& b) {
  if (a.place >= b.place) return {&a, &b};
  return {&b, &a};
}

// The entry at `place`, or nullptr.
const HistoryEntry* entryAt(const std::vector<HistoryEntry>& entries, int place);

}  // namespace orvis
