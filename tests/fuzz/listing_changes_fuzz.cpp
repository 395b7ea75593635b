// The folder-change evaluation on any two listings: the lines are read
// (stamp, "@", path) and matched as the plain rule says, here walked the
// slow way for every baseline line. Whatever the bytes, the entries are the
// walk's, each fits on one line, a listing compared with itself shows no
// change, and comparing the other way round swaps what was added and what
// was deleted while the updates stay the same.
//
// Input: the baseline, the separator "\n#--#\n" and the snapshot. Without
// the separator both listings are the same bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "monitor/engine/target_changes.h"
#include "platform/bytes.h"
#include "platform/codec.h"

using namespace orvis;

namespace {

constexpr std::string_view kSeparator = "\n#--#\n";

struct Line {
  std::string stamp;  // the first 19 characters, or fewer in a short line
  std::string path;   // from character 21 on; empty in a line that short
};

// The lines that name a file: neither empty nor the "@" of an empty listing.
std::vector<Line> filesOf(std::string_view text) {
  std::vector<Line> files;
  for (const std::string& line : platform::splitLines(text)) {
    if (line.empty() || line == "@") continue;
    files.push_back(Line{line.substr(0, 19), line.size() > 20 ? line.substr(20) : std::string()});
  }
  return files;
}

std::string entry(const std::string& kind, const std::string& from, const std::string& to,
                  const std::string& path) {
  return kind + ("[" + from + "]->[" + to + "] " + path);
}

// Each baseline file takes the first snapshot file not yet taken with the
// very same path.
std::vector<std::string> plainWalk(std::string_view baseline, std::string_view snapshot) {
  const std::vector<Line> before = filesOf(baseline), now = filesOf(snapshot);
  std::vector<bool> taken(now.size(), false);
  std::vector<std::string> changes;
  for (const Line& old : before) {
    std::size_t b = 0;
    while (b < now.size() && (taken[b] || now[b].path != old.path)) ++b;
    if (b == now.size()) {
      changes.push_back(entry(SJIS("[削除]"), old.stamp, "N/A", old.path));
      continue;
    }
    taken[b] = true;
    if (now[b].stamp != old.stamp)
      changes.push_back(entry(SJIS("[更新]"), old.stamp, now[b].stamp, old.path));
  }
  for (std::size_t b = 0; b < now.size(); ++b) {
    if (!taken[b]) changes.push_back(entry(SJIS("[追加]"), "N/A", now[b].stamp, now[b].path));
  }
  return changes;
}

struct Counts {
  std::size_t updated = 0, deleted = 0, added = 0;
};

Counts countsOf(const std::vector<std::string>& changes) {
  Counts c;
  for (const std::string& change : changes) {
    // A whole entry goes on one line of the detail and the log.
    FUZZ_REQUIRE(change.find_first_of("\r\n") == std::string::npos);
    if (change.starts_with(SJIS("[更新]")))
      ++c.updated;
    else if (change.starts_with(SJIS("[削除]")))
      ++c.deleted;
    else if (change.starts_with(SJIS("[追加]")))
      ++c.added;
  }
  FUZZ_REQUIRE(c.updated + c.deleted + c.added == changes.size());
  return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find(kSeparator);
  const std::string_view baseline = input.substr(0, cut);
  const std::string_view snapshot =
      cut == std::string_view::npos ? input : input.substr(cut + kSeparator.size());

  const std::vector<std::string> forward = listingChanges(baseline, snapshot);
  FUZZ_REQUIRE(forward == plainWalk(baseline, snapshot));
  FUZZ_REQUIRE(listingChanges(baseline, baseline).empty());
  FUZZ_REQUIRE(listingChanges(snapshot, snapshot).empty());

  const Counts there = countsOf(forward);
  const Counts back = countsOf(listingChanges(snapshot, baseline));
  FUZZ_REQUIRE(there.updated == back.updated);
  FUZZ_REQUIRE(there.added == back.deleted && there.deleted == back.added);
  return 0;
}
