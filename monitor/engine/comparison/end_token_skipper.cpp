#include "monitor/engine/comparison/end_token_skipper.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "monitor/engine/comparison/ascii_lower.h"
#include "monitor/engine/comparison/recent_bytes.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvis {

bool EndTokenSkipper::skipOn(ByteCursor& cursor, const StartTest& region) {
  if (region.endByte != 0) return skipToByte(cursor, region.endByte);
  // The bytes of this region read so far, as far as they can still take
  // part in the end token.
  RecentBytes taken(region.end.size());
  for (bool first = true; cursor.fill(); first = false) {
    const char* p = cursor.data();
    const std::size_t n = std::min(cursor.available(), kWorkPiece);
    std::size_t end = first ? quickEndIn(p, n, cursor.available(), region) : kUnsure;
    if (end == kUnsure) end = endIn(p, n, cursor.available(), taken, region);
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

bool EndTokenSkipper::skipToByte(ByteCursor& cursor, char end) {
  // A window of one byte needs no keeping: a zero byte leaves it as it was,
  // and the byte has no other case. The region ends at the first such byte.
  while (cursor.fill()) {
    const char* p = cursor.data();
    const std::size_t n = std::min(cursor.available(), kWorkPiece);
    if (const void* at = std::memchr(p, end, n)) {
      cursor.advance(static_cast<std::size_t>(static_cast<const char*>(at) - p) + 1);
      return true;
    }
    cursor.advance(n);
    ticker_.tick();
  }
  return false;
}

std::size_t EndTokenSkipper::quickEndIn(const char* p, std::size_t n, std::size_t readable,
                                        const StartTest& region) {
#if defined(__SSE2__)
  // With nothing before the region and no zero byte in it, an end is the
  // token's bytes in a row. Blocks of sixteen places where the token could
  // begin are sifted by its first and last bytes, then each place left is
  // one word to compare.
  const std::size_t length = region.end.size();
  auto foldOf = [](char c) { return _mm_set1_epi8(c >= 'a' && c <= 'z' ? 0x20 : 0); };
  const char firstByte = region.end.front(), lastByte = region.end.back();
  const __m128i foldFirst = foldOf(firstByte), foldLast = foldOf(lastByte);
  const __m128i wantFirst = _mm_set1_epi8(firstByte), wantLast = _mm_set1_epi8(lastByte);
  for (std::size_t i = 0; i < n; i += 16) {
    // The last place of a block reads a word and the token's last byte.
    if (i + 16 + 8 > readable) return kUnsure;
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + length - 1));
    unsigned zeros =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(head, _mm_setzero_si128())));
    if (n - i < 16) zeros &= (1u << (n - i)) - 1;
    if (zeros != 0) return kUnsure;
    auto places = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(head, foldFirst), wantFirst),
                                        _mm_cmpeq_epi8(_mm_or_si128(tail, foldLast), wantLast))));
    for (; places != 0; places &= places - 1) {
      const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(places));
      if (at + length > n) return kUnsure;
      std::uint64_t word;
      std::memcpy(&word, p + at, sizeof word);
      if (((word | region.endLowerBits) & region.endPatternBytes) == region.endPattern)
        return at + length - 1;
    }
  }
  return n;
#else
  (void)p, (void)n, (void)readable, (void)region;
  return kUnsure;
#endif
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
