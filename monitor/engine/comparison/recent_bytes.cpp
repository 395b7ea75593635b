#include "monitor/engine/comparison/recent_bytes.h"

namespace orvis {

std::size_t RecentBytes::peekWith(const char* p, std::size_t n, char* out) const {
  // Gather the run's last non-zero bytes backwards, then put the window's
  // own tail in front of them.
  char reversed[kMaxLength];
  std::size_t fromRun = 0;
  for (std::size_t j = n; j-- > 0 && fromRun < max_;)
    if (p[j] != 0) reversed[fromRun++] = p[j];
  const std::size_t fromWindow = std::min(length_, max_ - fromRun);
  std::memcpy(out, bytes_ + start_ + length_ - fromWindow, fromWindow);
  for (std::size_t k = 0; k < fromRun; ++k) out[fromWindow + k] = reversed[fromRun - 1 - k];
  return fromWindow + fromRun;
}

}  // namespace orvis
