#include "monitor/engine/comparison/end_token_skipper.h"

#include <algorithm>

#include "monitor/engine/comparison/ascii_lower.h"
#include "monitor/engine/comparison/recent_bytes.h"

namespace orvis {

namespace {

// Whether the bytes up to `at`, after those already taken, end with the
// token.
bool endsHere(const RecentBytes& taken, const char* p, std::size_t at, std::string_view end) {
  const std::size_t n = end.size();
  // Mostly the token's bytes lie right before `at`; a zero byte among them
  // or a token begun in an earlier piece needs the window put together.
  if (at + 1 >= n) {
    const std::string_view direct(p + at + 1 - n, n);
    if (beginsWithLower(direct, end)) return true;
    if (std::find(direct.begin(), direct.end(), '\0') == direct.end()) return false;
  }
  char window[RecentBytes::kMaxLength];
  const std::size_t length = taken.peekWith(p, at + 1, window);
  return length == n && beginsWithLower({window, length}, end);
}

}  // namespace

bool EndTokenSkipper::skip(ByteCursor& cursor, const StartTest& region) {
  const std::string_view end = region.end;
  // The bytes of this region read so far, as far as they can still take
  // part in the end token.
  RecentBytes taken(end.size());
  while (cursor.fill()) {
    const char* p = cursor.data();
    const std::size_t n = std::min(cursor.available(), kWorkPiece);
    // Only a byte that is the token's last can complete it.
    for (std::size_t from = 0;;) {
      const std::size_t at = from + region.endFinder.find(p + from, n - from);
      if (at == n) break;
      if (endsHere(taken, p, at, end)) {
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
