#include "monitor/engine/comparison/end_token_skipper.h"

#include <algorithm>

#include "monitor/engine/comparison/ascii_lower.h"
#include "monitor/engine/comparison/recent_bytes.h"

namespace orvis {

bool EndTokenSkipper::skip(ByteCursor& cursor, const StartTest& region) {
  const std::string_view end = region.end;
  // The bytes of this region read so far, as far as they can still take
  // part in the end token.
  RecentBytes taken(end.size());
  char window[RecentBytes::kMaxLength];
  while (cursor.fill()) {
    const char* p = cursor.data();
    const std::size_t n = std::min(cursor.available(), kWorkPiece);
    // Only a byte that is the token's last can complete it.
    for (std::size_t from = 0;;) {
      const std::size_t at = from + region.endFinder.find(p + from, n - from);
      if (at == n) break;
      const std::size_t length = taken.peekWith(p, at + 1, window);
      if (length == end.size() && beginsWithLower({window, length}, end)) {
        cursor.advance(at + 1);
        return true;
      }
      from = at + 1;
    }
    taken.appendRun(p, n);
    cursor.advance(n);
    ticker_.tick();
  }
  return false;
}

}  // namespace orvis
