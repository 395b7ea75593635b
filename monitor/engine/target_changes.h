#pragma once
// What changed between a job's baseline and its fresh snapshot, for the
// target types whose snapshot is a list: the files of a folder, the running
// programs, the free space of a disk. Both texts are CP932 as the files hold
// them; a missing or empty baseline is an empty list.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "listing_changes.h"

namespace orvis {

// FILE: one entry per updated, deleted and added file, in that order of
// discovery, without line ends (see listing_changes.h, which gives them as
// views without a copy).
std::vector<std::string> listingChanges(std::string_view baseline, std::string_view snapshot);

// The same changes, as their parts.
struct ListingChange {
  using Kind = ListingChangeKind;
  Kind kind;
  std::string oldStamp;  // empty when added
  std::string newStamp;  // empty when deleted
  std::string path;

  // The entry as the alert and the log give it.
  std::string text() const;
};
std::vector<ListingChange> listingChangeList(std::string_view baseline, std::string_view snapshot);

// The program-name part of a PROC line "pid parent name"; empty when the
// line has no two blanks.
std::string_view programNameOf(std::string_view line);

// PROC: "<uri>が終了しました。" when the program named by `uri` was running
// at the baseline and is not now, "<uri>が起動しました。" for the reverse,
// nothing otherwise. The name is looked for in the program-name part of each
// line (after the two process numbers), ignoring the case of ASCII letters.
std::optional<std::string> processChange(std::string_view uri, std::string_view baseline,
                                         std::string_view snapshot);

// DRIVE: "<drive>ドライブの残量が<n>GBとなりました。" when the free space
// (first line, megabytes) has fallen to or below the threshold since the
// previous reading; nothing otherwise. `uri` is the disk, a colon and the
// threshold in gigabytes; without a threshold (or with one that is no
// number) the threshold is 0 and never reached.
std::optional<std::string> driveChange(std::string_view uri, std::string_view baseline,
                                       std::string_view snapshot);

// The parts of a DRIVE job's target and reading that driveChange goes by:
// the disk, the threshold in megabytes, and the free megabytes of a
// snapshot (its first line; 0 when that is no number).
std::string driveOf(std::string_view uri);
int64_t driveThresholdMb(std::string_view uri);
int64_t freeSpaceMbOf(std::string_view snapshot);

}  // namespace orvis
