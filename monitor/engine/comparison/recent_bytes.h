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
      std::memcpy(bytes_, p + n - max_, max_);
      length_ = max_;
      return;
    }
    const std::size_t keep = std::min(length_, max_ - n);
    std::memmove(bytes_, bytes_ + length_ - keep, keep);
    std::memcpy(bytes_ + keep, p, n);
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
  char bytes_[kMaxLength];
  std::size_t length_ = 0;
  std::size_t max_;
};

}  // namespace orvis
