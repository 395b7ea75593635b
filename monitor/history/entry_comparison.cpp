#include "entry_comparison.h"

#include "platform/files.h"

namespace orvis {

bool EntryComparison::changed() const {
  switch (type) {
    case JobType::File:
      return !listing.empty();
    case JobType::Proc:
      return !processes.started.empty() || !processes.ended.empty();
    case JobType::Drive:
      return olderFreeMb != newerFreeMb;
    case JobType::Url:
      break;
  }
  return page && page->changed();
}

ComparedOrNot compareEntries(const HistoryJob& job, const HistoryEntry& older,
                             const HistoryEntry& newer, const std::vector<HistoryEntry>& all,
                             Regions regions, WorkProgress& progress) {
  std::optional<std::string> bytes[2];
  const HistoryEntry* entries[2] = {&older, &newer};
  for (int i = 0; i < 2; ++i) {
    bytes[i] = platform::readFile(entries[i]->path);
    if (!bytes[i]) return {std::nullopt, platform::unreadableReason(entries[i]->path)};
  }
  EntryComparison c;
  // A type the monitor does not know is shown as text.
  c.type = job.type.value_or(JobType::Url);
  switch (c.type) {
    case JobType::File:
      c.listing = listingChangeList(*bytes[0], *bytes[1]);
      break;
    case JobType::Proc:
      c.processes = processChanges(job.target, *bytes[0], *bytes[1]);
      break;
    case JobType::Drive:
      c.olderFreeMb = freeSpaceMbOf(*bytes[0]);
      c.newerFreeMb = freeSpaceMbOf(*bytes[1]);
      c.drive = freeSpaceHistory(job.target, all);
      break;
    case JobType::Url:
      c.page = differenceOfPages(std::move(*bytes[0]), std::move(*bytes[1]), job.rules, regions,
                                 progress);
      if (!c.page) return {};
      break;
  }
  return {std::move(c), {}};
}

}  // namespace orvis
