#include "monitor/engine/comparison/end_token_skipper.h"

#include <algorithm>
#include <string_view>

#include "monitor/engine/comparison/ascii_lower.h"
#include "monitor/engine/comparison/recent_bytes.h"

namespace orvis {

bool EndTokenSkipper::skip(ByteCursor& cursor, const StartTest& region) {
  const std::string_view end = region.end;
  // The bytes of this region read so far, as far as they can still take
  // part in the end token.
  RecentBytes taken(end.size());
  while (cursor.fill()) {
    const char* p = cursor.data();
    const std::size_t n = std::min(cursor.available(), kWorkPiece);
    // Only a byte that is the token's last can complete it. The finder also
    // stops at zero bytes, which enter no window: from `clean` on there is
    // none, so a token there lies plainly before the byte that ends it.
    std::size_t clean = 0;
    for (std::size_t from = 0;;) {
      const std::size_t at =
          from + region.endFinder.find(p + from, n - from, cursor.available() - from);
      if (at == n) break;
      from = at + 1;
      if (p[at] == 0) {
        clean = at + 1;
        continue;
      }
      bool ends;
      if (at + 1 >= clean + end.size()) {
        ends = beginsWithLower({p + at + 1 - end.size(), end.size()}, end);
      } else {
        char window[RecentBytes::kMaxLength];
        const std::size_t length = taken.peekWith(p, at + 1, window);
        ends = length == end.size() && beginsWithLower({window, length}, end);
      }
      if (ends) {
        cursor.advance(at + 1);
        return true;
      }
    }
    taken.appendRun(p, n);
    cursor.advance(n);
    ticker_.tick();
  }
  return false;
}

}  // namespace orvis
