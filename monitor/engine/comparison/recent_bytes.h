#pragma once
// A sliding window over the most recent bytes read: appending to a full
// window drops its oldest byte. A zero byte adds nothing.
//

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace orvis {

class RecentBytes {
 public:
  static constexpr std::size_t kMaxLength = 64;

  explicit RecentBytes(std::size_t maxLength) : max_(std::min(maxLength, kMaxLength)) {}

  void append(char c) {
    if (c == 0 || max_ == 0) return;
    if (length_ >= max_) {
      std::memmove(bytes_, bytes_ + 1, length_ - 1);
      --length_;
    }
    bytes_[length_++] = c;
  }

  // Appends every byte of the run, in order.
  void appendRun(const char* p, std::size_t n) { length_ = peekWith(p, n, bytes_); }

  // The same for a run known to hold no zero byte.
  void appendPlainRun(const char* p, std::size_t n) {
    if (n >= max_) {
      copyShort(bytes_, p + n - max_, max_);
      length_ = max_;
      return;
    }
    const std::size_t keep = std::min(length_, max_ - n);
    if (keep < length_) {
      char kept[kMaxLength];
      copyShort(kept, bytes_ + length_ - keep, keep);
      copyShort(bytes_, kept, keep);
    }
    copyShort(bytes_ + keep, p, n);
    length_ = keep + n;
  }

  void clear() { length_ = 0; }

  std::string_view view() const { return {bytes_, length_}; }
  std::size_t maxLength() const { return max_; }

  // What the window would hold after appending the run, written to `out`
  // (room for maxLength() bytes, and `out` may be the window's own bytes);
  // the window stays as it is. Returns the length written.
  std::size_t peekWith(const char* p, std::size_t n, char* out) const;

 private:
  // Copies up to kMaxLength bytes between places that do not overlap, with
  // moves of fixed size (two that may overlap each other), which the
  // compiler puts inline: a library call costs more than these short copies.
  static void copyShort(char* to, const char* from, std::size_t n) {
    if (n >= 32) {
      std::memcpy(to, from, 32);
      std::memcpy(to + n - 32, from + n - 32, 32);
    } else if (n >= 16) {
      std::memcpy(to, from, 16);
      std::memcpy(to + n - 16, from + n - 16, 16);
    } else if (n >= 8) {
      std::memcpy(to, from, 8);
      std::memcpy(to + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
      std::memcpy(to, from, 4);
      std::memcpy(to + n - 4, from + n - 4, 4);
    } else {
      for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
    }
  }

  char bytes_[kMaxLength];
  std::size_t length_ = 0;
  std::size_t max_;
};

}  // namespace orvis
