#pragma once
// A sliding window over the most recent bytes read: appending to a full
// window drops its oldest byte. A zero byte adds nothing.
//
// The window slides along a larger buffer, so that appending is one copy to
// fresh room, and the bytes held move to the front only when the room runs
// out.

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
    makeRoom(1);
    bytes_[start_ + length_] = c;
    grow(1);
  }

  // Appends every byte of the run, in order.
  void appendRun(const char* p, std::size_t n) {
    char joined[kMaxLength];
    length_ = peekWith(p, n, joined);
    start_ = 0;
    std::memcpy(bytes_, joined, length_);
  }

  // The same for a run known to hold no zero byte.
  void appendPlainRun(const char* p, std::size_t n) {
    if (n >= max_) {
      copyShort(bytes_, p + n - max_, max_);
      start_ = 0;
      length_ = max_;
      return;
    }
    makeRoom(n);
    copyShort(bytes_ + start_ + length_, p, n);
    grow(n);
  }

  void clear() { start_ = length_ = 0; }

  std::string_view view() const { return {bytes_ + start_, length_}; }
  std::size_t maxLength() const { return max_; }

  // What the window would hold after appending the run, written to `out`
  // (room for maxLength() bytes, not the window's own); the window stays as
  // it is. Returns the length written.
  std::size_t peekWith(const char* p, std::size_t n, char* out) const;

 private:
  static constexpr std::size_t kRoom = 4 * kMaxLength;

  void makeRoom(std::size_t n) {
    if (start_ + length_ + n <= kRoom) return;
    std::memmove(bytes_, bytes_ + start_, length_);
    start_ = 0;
  }

  void grow(std::size_t n) {
    length_ += n;
    if (length_ > max_) {
      start_ += length_ - max_;
      length_ = max_;
    }
  }

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

  char bytes_[kRoom];
  std::size_t start_ = 0;
  std::size_t length_ = 0;
  std::size_t max_;
};

}  // namespace orvis
