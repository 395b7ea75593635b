#pragma once
// What changed between two FILE listings (a baseline and a fresh snapshot),
// worked out on the two texts as they are: every change is a set of views
// into them, handed on as it is found, so that the comparison holds little
// more than the two texts whatever their size.
//
// A line holds a 19-character stamp, "@" and the path; a line that is empty
// or exactly "@" names no file. A baseline path matches the first snapshot
// line still unmatched whose path is exactly the same: a match with another
// stamp is an update, a baseline path without a match a deletion, and every
// snapshot line left unmatched an addition. Updates and deletions come in
// baseline order, then the additions in snapshot order.

#include <functional>
#include <string>
#include <string_view>

namespace orvis {

enum class ListingChangeKind { Updated, Deleted, Added };

// One change, its parts pointing into the two listings (valid as long as
// they are).
struct ListingChangeView {
  ListingChangeKind kind;
  std::string_view oldStamp;  // empty when added
  std::string_view newStamp;  // empty when deleted
  std::string_view path;
};

// Appends the entry as the alert and the log give it, without a line end:
// "[更新][old]->[new] path", "[削除][old]->[N/A] path" or
// "[追加][N/A]->[new] path".
void appendListingEntry(std::string& out, const ListingChangeView& change);

// Calls `each` for every change from `baseline` to `snapshot`, in order.
// Both are CP932 as the files hold them; an empty baseline is an empty list.
void forEachListingChange(std::string_view baseline, std::string_view snapshot,
                          const std::function<void(const ListingChangeView&)>& each);

}  // namespace orvis
