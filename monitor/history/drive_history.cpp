#include "drive_history.h"

#include <algorithm>

#include "monitor/engine/target_changes.h"
#include "platform/files.h"

namespace orvis {

FreeSpaceHistory freeSpaceHistory(std::string_view uri, const std::vector<HistoryEntry>& entries) {
  FreeSpaceHistory history{driveOf(uri), driveThresholdMb(uri), {}};
  for (const HistoryEntry& e : entries)
    history.points.push_back({e.place, e.stored, freeSpaceMbOf(platform::readFirstLine(e.path))});
  // The oldest generation first.
  std::reverse(history.points.begin(), history.points.end());
  return history;
}

}  // namespace orvis
