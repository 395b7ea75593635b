#include "history_entries.h"

#include <sys/stat.h>

#include <cstdio>

#include "monitor/engine/generations.h"
#include "platform/bytes.h"

namespace orvis {

std::vector<HistoryEntry> historyEntries(const std::string& baselinePath) {
  std::vector<HistoryEntry> entries;
  for (int place = 0; place <= kGenerations; ++place) {
    const std::string path = place == 0 ? baselinePath : baselinePath + "." + std::to_string(place);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    entries.push_back({place, path, st.st_mtim.tv_sec, static_cast<std::uint64_t>(st.st_size)});
  }
  return entries;
}

std::optional<int> placeFromText(std::string_view text) {
  if (text == "baseline") return 0;
  const std::optional<int> n = platform::parseInt(text);
  if (!n || *n < 0 || *n > kGenerations || text.front() == '+' || text.front() == '-')
    return std::nullopt;
  return n;
}

std::string placeText(int place) { return place == 0 ? "baseline" : std::to_string(place); }

std::string storedText(std::time_t stored) {
  struct tm tm {};
  if (!::localtime_r(&stored, &tm)) return std::to_string(stored);
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", tm.tm_year + 1900,
                tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
  return text;
}

const HistoryEntry* entryAt(const std::vector<HistoryEntry>& entries, int place) {
  for (const HistoryEntry& e : entries)
    if (e.place == place) return &e;
  return nullptr;
}

}  // namespace orvis
