#include "monitor/engine/comparison/end_token_skipper.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "monitor/engine/comparison/ascii_lower.h"
#include "monitor/engine/comparison/byte_scanner.h"
#include "monitor/engine/comparison/recent_bytes.h"

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvis {

bool EndTokenSkipper::skipOn(ByteCursor& cursor, const StartTest& region, bool noEndHere) {
  // The bytes of this region read so far, as far as they can still take
  // part in the end token.
  RecentBytes taken(region.end.size());
  for (bool first = true; cursor.fill(); first = false) {
    const char* p = cursor.data();
    const std::size_t n = std::min(cursor.available(), kWorkPiece);
    const std::size_t end = first && noEndHere ? n : endIn(p, n, cursor.available(), taken, region);
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

#if defined(__SSE2__)
namespace {

constexpr std::size_t kUnsure = EndTokenSkipper::kUnsure;

// The token's first place in [at, at + 32) among `places` (bit i for
// at + i) that holds it whole: the index of its last byte, n when none
// does, kUnsure when one would run past n.
std::size_t endAmong(unsigned places, std::size_t at, const char* p, std::size_t n,
                     const StartTest& region) {
  const std::size_t length = region.end.size();
  for (; places != 0; places &= places - 1) {
    const std::size_t place = at + static_cast<std::size_t>(__builtin_ctz(places));
    if (place + length > n) return kUnsure;
    std::uint64_t word;
    std::memcpy(&word, p + place, sizeof word);
    if (((word | region.endLowerBits) & region.endPatternBytes) == region.endPattern)
      return place + length - 1;
  }
  return n;
}

// The bits of the first n - at of `bits` (32 at most).
unsigned below(unsigned bits, std::size_t at, std::size_t n) {
  return n - at < 32 ? bits & ((1u << (n - at)) - 1) : bits;
}

char foldOf(char c) { return c >= 'a' && c <= 'z' ? 0x20 : 0; }

// With nothing before the region and no zero byte in it, an end is the
// token's bytes in a row. Blocks of places where the token could begin
// are sifted by its first and last bytes, then each place left is one word
// to compare. The last place of a block reads a word and the token's last
// byte.
std::size_t quickEndNarrow(const char* p, std::size_t n, std::size_t readable,
                           const StartTest& region) {
  const std::size_t length = region.end.size();
  const char first = region.end.front(), last = region.end.back();
  const __m128i foldFirst = _mm_set1_epi8(foldOf(first)), foldLast = _mm_set1_epi8(foldOf(last));
  const __m128i wantFirst = _mm_set1_epi8(first), wantLast = _mm_set1_epi8(last);
  for (std::size_t i = 0; i < n; i += 16) {
    if (i + 16 + 8 > readable) return kUnsure;
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + length - 1));
    const auto zeros =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(head, _mm_setzero_si128())));
    const auto places = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(head, foldFirst), wantFirst),
                                        _mm_cmpeq_epi8(_mm_or_si128(tail, foldLast), wantLast))));
    if ((zeros | places) == 0) continue;
    if (below(zeros, i, n) != 0) return kUnsure;
    if (const std::size_t end = endAmong(places, i, p, n, region); end != n) return end;
  }
  return n;
}

#if defined(__x86_64__)
// The same 32 places at a time, on processors that can.
__attribute__((target("avx2"))) std::size_t quickEndWide(const char* p, std::size_t n,
                                                         std::size_t readable,
                                                         const StartTest& region) {
  const std::size_t length = region.end.size();
  const char first = region.end.front(), last = region.end.back();
  const __m256i foldFirst = _mm256_set1_epi8(foldOf(first));
  const __m256i foldLast = _mm256_set1_epi8(foldOf(last));
  const __m256i wantFirst = _mm256_set1_epi8(first), wantLast = _mm256_set1_epi8(last);
  for (std::size_t i = 0; i < n; i += 32) {
    if (i + 32 + 8 > readable) return kUnsure;
    const __m256i head = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
    const __m256i tail = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + length - 1));
    const auto zeros = static_cast<unsigned>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(head, _mm256_setzero_si256())));
    const auto places = static_cast<unsigned>(_mm256_movemask_epi8(
        _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(head, foldFirst), wantFirst),
                         _mm256_cmpeq_epi8(_mm256_or_si256(tail, foldLast), wantLast))));
    if ((zeros | places) == 0) continue;
    if (below(zeros, i, n) != 0) return kUnsure;
    if (const std::size_t end = endAmong(places, i, p, n, region); end != n) return end;
  }
  return n;
}
#endif

}  // namespace
#endif

std::size_t EndTokenSkipper::quickEndIn(const char* p, std::size_t n, std::size_t readable,
                                        const StartTest& region) {
#if defined(__SSE2__)
#if defined(__x86_64__)
  if (wideScanAvailable()) {
    if (const std::size_t end = quickEndWide(p, n, readable, region); end != kUnsure) return end;
  }
#endif
  return quickEndNarrow(p, n, readable, region);
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
