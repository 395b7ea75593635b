#pragma once
// A sliding window over the most recent bytes read: appending to a full
// window drops its oldest byte. A zero byte adds nothing.

#include <cstddef>
#include <string_view>

namespace orvis {

class RecentBytes {
 public:
  static constexpr std::size_t kMaxLength = 64;

  explicit RecentBytes(std::size_t maxLength);

  void append(char c);
  // Appends every byte of the run, in order.
  void appendRun(const char* p, std::size_t n);
  // The same for a run known to hold no zero byte.
  void appendPlainRun(const char* p, std::size_t n);
  void clear() { length_ = 0; }

  std::string_view view() const { return {bytes_, length_}; }
  std::size_t maxLength() const { return max_; }

  // What the window would hold after appending the run, written to `out`
  // (room for maxLength() bytes); the window stays as it is. Returns the
  // length written.
  std::size_t peekWith(const char* p, std::size_t n, char* out) const;

 private:
  char bytes_[kMaxLength];
  std::size_t length_ = 0;
  std::size_t max_;
};

}  // namespace orvis
