#pragma once
// The short window a start test looks through (at most eight bytes): the
// most recent bytes taken in, the oldest dropped first; a zero byte adds
// nothing. Held in one machine word, since the comparison brings these
// windows up to date for nearly every region it passes: the newest byte in
// the highest byte of the word, and zero where the window holds nothing
// (it never holds a zero byte).

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace orvis {

class StartWindow {
 public:
  static constexpr std::size_t kCapacity = 8;

  explicit StartWindow(std::size_t maxLength)
      : max_(maxLength < kCapacity ? maxLength : kCapacity),
        keep_(max_ == 0 ? 0 : ~std::uint64_t{0} << (8 * (kCapacity - max_))) {}

  void append(char c) {
    if (c == 0) return;
    take(static_cast<std::uint64_t>(static_cast<unsigned char>(c)) << 56, 1);
  }

  // Appends a run known to hold no zero byte.
  void appendPlainRun(const char* p, std::size_t n) { take(runWord(p, n), n); }

  // Appends the run that runWord() made of n bytes. Without branches: the
  // comparison brings every window up to date at each region it enters.
  void take(std::uint64_t run, std::size_t n) { word_ = peek(run, n); }

  // take() of a run of eight bytes or more.
  void fill(std::uint64_t run) { word_ = run & keep_; }

  // The word the window would hold after take(run, n).
  std::uint64_t peek(std::uint64_t run, std::size_t n) const {
    const std::uint64_t kept = n >= kCapacity ? 0 : word_ >> (8 * (n & (kCapacity - 1)));
    return (kept | run) & keep_;
  }

  // The bytes of the word the window can hold.
  std::uint64_t keep() const { return keep_; }

  void clear() { word_ = 0; }
  std::size_t maxLength() const { return max_; }
  std::uint64_t word() const { return word_; }

  // The window, written to `out` (room for kCapacity bytes).
  std::string_view view(char* out) const {
    const std::size_t held =
        word_ == 0 ? 0 : kCapacity - static_cast<std::size_t>(std::countr_zero(word_)) / 8;
    std::memcpy(out, &word_, kCapacity);
    return {out + kCapacity - held, held};
  }

  // What the window would hold after appending a run with no zero byte.
  std::string_view peekWithPlain(const char* p, std::size_t n, char* out) const {
    StartWindow after = *this;
    after.appendPlainRun(p, n);
    return after.view(out);
  }

  // The top bit of each byte of the word that equals c, and of no other.
  static std::uint64_t equalBytes(std::uint64_t word, char c) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t x = word ^ (0x0101010101010101ull * static_cast<unsigned char>(c));
    return ~(((x & kLow7) + kLow7) | x | kLow7);
  }

  // The top bits of the word's bytes [from, to).
  static std::uint64_t byteBits(std::size_t from, std::size_t to) {
    return 0x8080808080808080ull & topBytes(kCapacity - from) & ~topBytes(kCapacity - to);
  }

  // The word's top n bytes (all eight from n = 8 on).
  static std::uint64_t topBytes(std::size_t n) {
    return n >= kCapacity ? ~std::uint64_t{0} : ~(~std::uint64_t{0} >> (8 * n));
  }

  // The eight bytes that end at p, which must all be readable.
  static std::uint64_t wordEndingAt(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p - kCapacity, kCapacity);
    return word;
  }

  // runWord() of the n bytes before p, when the eight bytes before p are
  // readable: one load instead of a loop.
  static std::uint64_t runWordEndingAt(const char* p, std::size_t n) {
    return wordEndingAt(p) & topBytes(n);
  }

  // A run's last bytes (up to eight) as a word to take in, so that several
  // windows can take the same run.
  static std::uint64_t runWord(const char* p, std::size_t n) {
    std::uint64_t word = 0;
    if (n >= kCapacity) {
      std::memcpy(&word, p + n - kCapacity, kCapacity);
      return word;
    }
    for (std::size_t i = 0; i < n; ++i)
      word |= static_cast<std::uint64_t>(static_cast<unsigned char>(p[i])) << (8 * (8 - n + i));
    return word;
  }

 private:
  static_assert(std::endian::native == std::endian::little);

  std::uint64_t word_ = 0;
  std::size_t max_;
  std::uint64_t keep_;  // the bytes of the word the window can hold
};

}  // namespace orvis
