#pragma once
// Finds the first of up to four given byte values in a run of bytes, many
// bytes at a time: the comparison spends most of its time here.

#include <cstddef>
#include <string_view>

namespace orvis {

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

}  // namespace orvis
