#pragma once
// Two entries of a job's history read and compared by the job's type: a
// page line by line, a folder listing by the detection's own rules, a
// process list by the programs that started and ended, a disk by its free
// space over every stored reading.

#include <optional>
#include <string>
#include <vector>

#include "drive_history.h"
#include "history_entries.h"
#include "history_job.h"
#include "monitor/engine/target_changes.h"
#include "page_difference.h"
#include "process_history.h"
#include "work_progress.h"

namespace orvis {

struct EntryComparison {
  JobType type = JobType::Url;
  // One of these, by the type.
  std::optional<PageDifference> page;
  std::vector<ListingChange> listing;
  ProcessChanges processes;
  FreeSpaceHistory drive;
  std::int64_t olderFreeMb = 0, newerFreeMb = 0;

  bool changed() const;
};

struct ComparedOrNot {
  std::optional<EntryComparison> comparison;
  // Why not, when an entry could not be read (CP932); empty when given up.
  std::string error;
};

// `older` and `newer` are entries of `all`, the job's whole history.
ComparedOrNot compareEntries(const HistoryJob& job, const HistoryEntry& older,
                             const HistoryEntry& newer, const std::vector<HistoryEntry>& all,
                             Regions regions, WorkProgress& progress);

}  // namespace orvis
