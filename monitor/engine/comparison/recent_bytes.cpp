#include "monitor/engine/comparison/recent_bytes.h"

#include <algorithm>
#include <cstring>

namespace orvis {

RecentBytes::RecentBytes(std::size_t maxLength) : max_(std::min(maxLength, kMaxLength)) {}

void RecentBytes::append(char c) {
  if (c == 0 || max_ == 0) return;
  if (length_ >= max_) {
    std::memmove(bytes_, bytes_ + 1, length_ - 1);
    --length_;
  }
  bytes_[length_++] = c;
}

void RecentBytes::appendRun(const char* p, std::size_t n) { length_ = peekWith(p, n, bytes_); }

void RecentBytes::appendPlainRun(const char* p, std::size_t n) {
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

std::size_t RecentBytes::peekWith(const char* p, std::size_t n, char* out) const {
  // Gather the run's last non-zero bytes backwards, then put the window's
  // own tail in front of them.
  char reversed[kMaxLength];
  std::size_t fromRun = 0;
  for (std::size_t j = n; j-- > 0 && fromRun < max_;)
    if (p[j] != 0) reversed[fromRun++] = p[j];
  const std::size_t fromWindow = std::min(length_, max_ - fromRun);
  std::memmove(out, bytes_ + length_ - fromWindow, fromWindow);
  for (std::size_t k = 0; k < fromRun; ++k) out[fromWindow + k] = reversed[fromRun - 1 - k];
  return fromWindow + fromRun;
}

}  // namespace orvis
