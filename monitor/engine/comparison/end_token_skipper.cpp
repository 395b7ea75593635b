#include "monitor/engine/comparison/end_token_skipper.h"

#include <algorithm>
#include <string_view>

#include "monitor/engine/comparison/ascii_lower.h"
#include "monitor/engine/comparison/recent_bytes.h"

namespace orvis {

bool EndTokenSkipper::skip(ByteCursor& cursor, const StartTest& region) {
  // The bytes of this region read so far, as far as they can still take
  // part in the end token.
  RecentBytes taken(region.end.size());
  while (cursor.fill()) {
    const char* p = cursor.data();
    const std::size_t n = std::min(cursor.available(), kWorkPiece);
    const std::size_t end = endIn(p, n, cursor.available(), taken, region);
    if (end < n) {
      cursor.advance(end + 1);
      return true;
    }
    taken.appendRun(p, n);
    cursor.advance(n);
    ticker_.tick();
  }
  return false;
}

std::size_t EndTokenSkipper::endIn(const char* p, std::size_t n, std::size_t readable,
                                   const RecentBytes& taken, const StartTest& region) {
  const std::string_view token = region.end;
  const std::size_t length = token.size();
  // From `clean` on the piece holds no zero byte. A token that ends less
  // than its length after `clean` may reach back over a zero byte (which no
  // window takes in) or into the bytes taken before the piece: those ends
  // are tried one by one with the window put together. Any later token lies
  // plainly in the piece, and a search for its anchor byte finds it.
  std::size_t clean = 0;
  for (bool zero = true; zero;) {
    zero = false;
    // Nothing lies before the first piece of a region.
    const bool before = clean > 0 || !taken.view().empty();
    const std::size_t slow = before ? std::min(clean + length - 1, n) : clean;
    for (std::size_t at = clean; at < slow && !zero; ++at) {
      if (p[at] == 0) {
        clean = at + 1;
        zero = true;
      } else if (lowerAscii(p[at]) == token.back()) {
        char window[RecentBytes::kMaxLength];
        const std::size_t held = taken.peekWith(p, at + 1, window);
        if (held == length && beginsWithLower({window, held}, token)) return at;
      }
    }
    for (std::size_t from = clean; !zero && from < n;) {
      const std::size_t at = from + region.endFinder.find(p + from, n - from, readable - from);
      if (at == n) break;
      from = at + 1;
      if (p[at] == 0) {
        clean = at + 1;
        zero = true;
      } else if (at >= clean + region.endAnchor) {
        const std::size_t start = at - region.endAnchor;
        // A token that would run past the piece is the next piece's to find.
        if (start + length > n) break;
        if (beginsWithLower({p + start, length}, token)) return start + length - 1;
      }
    }
  }
  return n;
}

}  // namespace orvis
