#include "listing_changes.h"

#include "listing_line.h"
#include "listing_path_index.h"
#include "platform/bytes.h"
#include "platform/codec.h"

namespace orvis {

using listing_line::namesAFile;
using listing_line::pathOf;
using listing_line::stampOf;

void appendListingEntry(std::string& out, const ListingChangeView& change) {
  auto entry = [&](const std::string& label, std::string_view from, std::string_view to) {
    out += label;
    out += '[';
    out += from;
    out += "]->[";
    out += to;
    out += "] ";
    out += change.path;
  };
  switch (change.kind) {
    case ListingChangeKind::Updated:
      return entry(SJIS("[更新]"), change.oldStamp, change.newStamp);
    case ListingChangeKind::Deleted:
      return entry(SJIS("[削除]"), change.oldStamp, "N/A");
    case ListingChangeKind::Added:
      break;
  }
  entry(SJIS("[追加]"), "N/A", change.newStamp);
}

void forEachListingChange(std::string_view baseline, std::string_view snapshot,
                          const std::function<void(const ListingChangeView&)>& each) {
  using Kind = ListingChangeKind;
  ListingPathIndex now(snapshot);
  platform::LineCursor cursor(baseline);
  for (std::string_view line; cursor.next(line);) {
    if (!namesAFile(line)) continue;
    const std::string_view stamp = stampOf(line), path = pathOf(line);
    if (const std::optional<std::string_view> match = now.take(path)) {
      if (stampOf(*match) != stamp) each({Kind::Updated, stamp, stampOf(*match), path});
    } else {
      each({Kind::Deleted, stamp, {}, path});
    }
  }
  for (std::size_t i = 0; i < now.size(); ++i)
    if (!now.taken(i)) each({Kind::Added, {}, stampOf(now.line(i)), pathOf(now.line(i))});
}

}  // namespace orvis
