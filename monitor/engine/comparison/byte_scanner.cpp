#include "monitor/engine/comparison/byte_scanner.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#define ORVIS_WIDE_SCAN 1
#endif

namespace orvis {

#ifdef ORVIS_WIDE_SCAN
namespace {

// The same search 32 bytes at a time, on processors that can.
__attribute__((target("avx2"))) std::size_t findWide(const unsigned char* needles, const char* p,
                                                     std::size_t n, std::size_t readable) {
  const __m256i a = _mm256_set1_epi8(static_cast<char>(needles[0]));
  const __m256i b = _mm256_set1_epi8(static_cast<char>(needles[1]));
  const __m256i c = _mm256_set1_epi8(static_cast<char>(needles[2]));
  const __m256i d = _mm256_set1_epi8(static_cast<char>(needles[3]));
  std::size_t i = 0;
  for (; i < n && i + 32 <= readable; i += 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
    const __m256i m =
        _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(v, a), _mm256_cmpeq_epi8(v, b)),
                        _mm256_or_si256(_mm256_cmpeq_epi8(v, c), _mm256_cmpeq_epi8(v, d)));
    if (const auto hits = static_cast<unsigned>(_mm256_movemask_epi8(m))) {
      const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(hits));
      return at < n ? at : n;
    }
  }
  return i;
}

}  // namespace
#endif

bool wideScanAvailable() {
#ifdef ORVIS_WIDE_SCAN
  static const bool available = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return available;
#else
  return false;
#endif
}

ByteScanner::ByteScanner(std::string_view needles) {
  for (char c : needles) {
    const auto u = static_cast<unsigned char>(c);
    if (table_[u] || count_ == 4) continue;
    table_[u] = true;
    needles_[count_++] = u;
  }
  // Unused slots repeat the first needle so that the wide search can always
  // test four.
  for (int i = count_; i < 4; ++i) needles_[i] = needles_[0];
  for (int i = 0; i < 4; ++i)
    for (unsigned char& c : spread_[i]) c = needles_[i];
  wide_ = wideScanAvailable();
}

std::size_t ByteScanner::find(const char* p, std::size_t n, std::size_t readable) const {
  if (count_ == 0) return n;
  std::size_t i = 0;
#ifdef ORVIS_WIDE_SCAN
  if (wide_) {
    i = findWide(needles_, p, n, readable);
    if (i >= n || matches(p[i])) return std::min(i, n);
  }
#endif
#ifdef __SSE2__
  const __m128i a = _mm_set1_epi8(static_cast<char>(needles_[0]));
  const __m128i b = _mm_set1_epi8(static_cast<char>(needles_[1]));
  const __m128i c = _mm_set1_epi8(static_cast<char>(needles_[2]));
  const __m128i d = _mm_set1_epi8(static_cast<char>(needles_[3]));
  auto hits = [&](const char* at) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i m = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, a), _mm_cmpeq_epi8(v, b)),
                                   _mm_or_si128(_mm_cmpeq_epi8(v, c), _mm_cmpeq_epi8(v, d)));
    return static_cast<unsigned>(_mm_movemask_epi8(m));
  };
  for (; i + 32 <= n; i += 32) {
    const unsigned low = hits(p + i);
    const unsigned high = hits(p + i + 16);
    if (low | high) return i + static_cast<std::size_t>(__builtin_ctz(low | (high << 16)));
  }
  for (; i < n && i + 16 <= readable; i += 16) {
    if (const unsigned m = hits(p + i)) {
      const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(m));
      return at < n ? at : n;
    }
  }
#endif
  for (; i < n; ++i)
    if (matches(p[i])) return i;
  return n;
}

}  // namespace orvis
