#pragma once
// The free space of a DRIVE job's disk at every stored reading, oldest
// first, with the threshold the check holds it against.

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "history_entries.h"

namespace orvis {

struct FreeSpacePoint {
  int place;
  std::time_t stored;
  std::int64_t freeMb;
};

struct FreeSpaceHistory {
  std::string drive;  // CP932
  std::int64_t thresholdMb = 0;
  std::vector<FreeSpacePoint> points;
};

FreeSpaceHistory freeSpaceHistory(std::string_view uri, const std::vector<HistoryEntry>& entries);

}  // namespace orvis
