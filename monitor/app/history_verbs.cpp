#include "history_verbs.h"

#include "monitor/history/entry_comparison.h"
#include "monitor/history/unified_diff.h"
#include "platform/bytes.h"
#include "platform/codec.h"

namespace orvis {
namespace {

using platform::toUtf8;

DiffSide sideOf(const HistoryEntry& e) {
  return {placeText(e.place), storedText(e.stored), e.path};
}

// The entry lines of the types whose snapshot is a list.
void writeChanges(std::ostream& out, const HistoryJob& job, const EntryComparison& c) {
  switch (c.type) {
    case JobType::File:
      for (const ListingChange& change : c.listing) out << toUtf8(change.text()) << '\n';
      break;
    case JobType::Proc: {
      auto write = [&out](const char* label, const ProcessLine& p) {
        out << label << ' ' << toUtf8(p.pid) << ' ' << toUtf8(p.parent) << ' ' << toUtf8(p.name)
            << '\n';
      };
      for (const ProcessLine& p : c.processes.ended) write("[終了]", p);
      for (const ProcessLine& p : c.processes.started) write("[起動]", p);
      if (c.processes.verdict) out << toUtf8(*c.processes.verdict) << '\n';
      break;
    }
    case JobType::Drive:
      out << "free space: " << c.olderFreeMb << " MB -> " << c.newerFreeMb << " MB (threshold "
          << c.drive.thresholdMb << " MB)\n";
      if (const auto detail =
              driveChange(job.target, std::to_string(c.olderFreeMb), std::to_string(c.newerFreeMb)))
        out << toUtf8(*detail) << '\n';
      break;
    case JobType::Url:
      break;
  }
}

int diff(const CommandLine& command, const HistoryJob& job,
         const std::vector<HistoryEntry>& entries, std::ostream& out, std::ostream& err) {
  // Without places: the last change. With one: what changed since it.
  int places[2] = {0, 1};
  for (std::size_t i = 0; i < command.places.size(); ++i) {
    const std::optional<int> place = placeFromText(command.places[i]);
    if (!place) {
      err << "no place \"" << command.places[i] << "\": baseline (or 0) or 1 to 20\n";
      return exitcode::kBadHistoryArguments;
    }
    places[i] = *place;
  }
  if (command.places.size() == 1) places[1] = 0;
  const HistoryEntry* chosen[2];
  for (int i = 0; i < 2; ++i) {
    chosen[i] = entryAt(entries, places[i]);
    if (!chosen[i]) {
      err << "job " << toUtf8(platform::trim(job.number)) << " has no entry "
          << placeText(places[i]) << "\n";
      return exitcode::kNoEntry;
    }
  }
  // From the older entry to the newer, as the check saw them.
  const auto [older, newer] = olderThenNewer(*chosen[0], *chosen[1]);
  UnwatchedWork work;
  const ComparedOrNot compared = compareEntries(
      job, *older, *newer, entries, command.changesOnly ? Regions::LeftOut : Regions::Shown, work);
  if (!compared.comparison) {
    err << "cannot read an entry of job " << toUtf8(platform::trim(job.number)) << ": "
        << toUtf8(compared.error) << "\n";
    return exitcode::kNoEntry;
  }
  const EntryComparison& c = *compared.comparison;
  if (c.page) {
    writeUnifiedDiff(out, *c.page, job.rules, sideOf(*older), sideOf(*newer));
  } else if (c.changed()) {
    writeDiffHeader(out, sideOf(*older), sideOf(*newer));
    writeChanges(out, job, c);
  }
  return c.changed() ? exitcode::kDifferent : exitcode::kSame;
}

}  // namespace

int runHistoryCommand(const CommandLine& command, const std::string& dataFolder, std::ostream& out,
                      std::ostream& err) {
  const std::string& number = command.jobNumbers.front();
  const std::optional<HistoryJob> job = findHistoryJob(dataFolder, platform::toCp932(number));
  if (!job) {
    err << "no such job: " << number << " (the jobs are the files of " << dataFolder << "info/)\n";
    return exitcode::kNoEntry;
  }
  const std::vector<HistoryEntry> entries = historyEntries(job->baseline);
  if (command.verb == CommandLine::Verb::Diff) return diff(command, *job, entries, out, err);
  if (entries.empty()) err << "job " << number << " has no baseline yet\n";
  for (const HistoryEntry& e : entries)
    out << placeText(e.place) << '\t' << storedText(e.stored) << '\t' << e.size << '\n';
  return exitcode::kSame;
}

}  // namespace orvis
