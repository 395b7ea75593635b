#include "monitor/engine/comparison/start_finder.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#define ORVIS_WIDE_SCAN 1
#endif

namespace orvis {

namespace {

bool isQuote(char c) { return c == '"' || c == '\''; }

#ifdef ORVIS_WIDE_SCAN
bool wideAvailable() {
  static const bool available = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return available;
}

// The search 32 bytes at a time from `from` on while whole blocks fit before
// `end`; the byte before and after each one may be read. Returns the first
// stop, or the first byte not searched.
__attribute__((target("avx2"))) std::size_t findWide(const char* p, std::size_t from,
                                                     std::size_t end,
                                                     const unsigned char* seconds,
                                                     int secondCount, bool quotes) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i lt = _mm256_set1_epi8('<');
  const __m256i dq = _mm256_set1_epi8('"');
  const __m256i sq = _mm256_set1_epi8('\'');
  const __m256i eq = _mm256_set1_epi8('=');
  const __m256i blank = _mm256_set1_epi8(' ');
  std::size_t i = from;
  for (; i + 32 <= end; i += 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
    __m256i stop = _mm256_cmpeq_epi8(v, zero);
    if (secondCount > 0) {
      const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 1));
      __m256i second = zero;
      for (int k = 0; k < secondCount; ++k)
        second = _mm256_or_si256(second,
                                 _mm256_cmpeq_epi8(next, _mm256_set1_epi8(static_cast<char>(seconds[k]))));
      stop = _mm256_or_si256(stop, _mm256_and_si256(_mm256_cmpeq_epi8(v, lt), second));
    }
    if (quotes) {
      const __m256i before = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i - 1));
      const __m256i quote = _mm256_or_si256(_mm256_cmpeq_epi8(v, dq), _mm256_cmpeq_epi8(v, sq));
      const __m256i opens =
          _mm256_or_si256(_mm256_cmpeq_epi8(before, eq), _mm256_cmpeq_epi8(before, blank));
      stop = _mm256_or_si256(stop, _mm256_and_si256(quote, opens));
    }
    if (const auto hits = static_cast<unsigned>(_mm256_movemask_epi8(stop)))
      return i + static_cast<std::size_t>(__builtin_ctz(hits));
  }
  return i;
}
#endif

}  // namespace

StartFinder::StartFinder(std::string_view seconds, bool quotes)
    : any_(!seconds.empty() || quotes), quotes_(quotes) {
  for (char c : seconds) {
    const auto u = static_cast<unsigned char>(c);
    if (second_[u] || secondCount_ == 8) continue;
    second_[u] = true;
    seconds_[secondCount_++] = u;
  }
#ifdef ORVIS_WIDE_SCAN
  wide_ = wideAvailable();
#endif
}

bool StartFinder::stopsAt(const char* p, std::size_t at, std::size_t readable,
                          std::size_t region) const {
  const char c = p[at];
  if (c == 0) return true;
  if (c == '<') return secondCount_ > 0 && (at + 1 >= readable || second_[static_cast<unsigned char>(p[at + 1])]);
  if (quotes_ && isQuote(c)) return at == region || p[at - 1] == '=' || p[at - 1] == ' ';
  return false;
}

std::size_t StartFinder::find(const char* p, std::size_t from, std::size_t n,
                              std::size_t readable, std::size_t region) const {
  if (!any_) return n;
  std::size_t i = from;
  // The run's first byte by itself: what stands before it is no guide.
  if (i < n && i == region) {
    if (stopsAt(p, i, readable, region)) return i;
    ++i;
  }
#ifdef ORVIS_WIDE_SCAN
  if (wide_ && i > 0 && readable > 32) {
    // Past `end` the byte after a block might not be readable.
    const std::size_t end = std::min(n + 31, readable - 1);
    // Stops at the first byte found or at the first one not searched; the
    // byte-wise search goes on from there.
    i = findWide(p, i, end, seconds_, secondCount_, quotes_);
  }
#endif
  for (; i < n; ++i)
    if (stopsAt(p, i, readable, region)) return i;
  return n;
}

}  // namespace orvis
