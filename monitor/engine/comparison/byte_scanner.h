#pragma once
// Finds the first of up to four given byte values in a run of bytes, many
// bytes at a time: the comparison spends most of its time here.

#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvis {

// True when the processor can search 32 bytes at a time (AVX2).
bool wideScanAvailable();

class ByteScanner {
 public:
  // At most four distinct bytes; with none the scanner finds nothing.
  explicit ByteScanner(std::string_view needles);

  // The index of the first needle in [p, p + n), or n. The bytes up to
  // p + readable (at least n) may be read, which lets short runs be
  // searched many bytes at a time too.
  std::size_t find(const char* p, std::size_t n, std::size_t readable) const;
  std::size_t find(const char* p, std::size_t n) const { return find(p, n, n); }

  // In the pairs (b[i], s[i]) for i in [0, n): the index of the first pair
  // that differs or whose b holds a needle, or n. Both runs may be read up
  // to `readable` (at least n). Between two needles the pairs usually agree,
  // so one pass looks for both.
  // Inline: the comparison calls it between any two start bytes.
  std::size_t findInPairs(const char* b, const char* s, std::size_t n, std::size_t readable) const;

  bool matches(char c) const { return table_[static_cast<unsigned char>(c)]; }
  bool empty() const { return count_ == 0; }

 private:
  bool table_[256] = {};
  unsigned char needles_[4] = {};
  // Each needle sixteen times, ready to load.
  alignas(16) unsigned char spread_[4][16] = {};
  int count_ = 0;
  bool wide_ = false;  // the processor searches 32 bytes at a time
};

inline std::size_t ByteScanner::findInPairs(const char* b, const char* s, std::size_t n,
                                            std::size_t readable) const {
  std::size_t i = 0;
#ifdef __SSE2__
  auto spread = [this](int i) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(spread_[i]));
  };
  const __m128i needle0 = spread(0), needle1 = spread(1), needle2 = spread(2), needle3 = spread(3);
  for (; i < n && i + 16 <= readable; i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i needles =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, needle0), _mm_cmpeq_epi8(x, needle1)),
                     _mm_or_si128(_mm_cmpeq_epi8(x, needle2), _mm_cmpeq_epi8(x, needle3)));
    // Bits of the pairs that agree and hold no needle.
    const auto plain =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_andnot_si128(needles, _mm_cmpeq_epi8(x, y))));
    if (plain != 0xFFFF) {
      const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(~plain));
      return at < n ? at : n;
    }
  }
#endif
  for (; i < n; ++i)
    if (b[i] != s[i] || matches(b[i])) return i;
  return n;
}

}  // namespace orvis
