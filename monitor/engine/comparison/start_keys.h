#pragma once
// The bytes that a start test's window still holds and that may yet begin
// its start once more bytes come: a '<' in a tag test's window, near enough
// to its newest byte for the rest of the start to follow, and the quote in
// an attribute test's window, far enough from its oldest for the name and
// '=' to stand before it. All eight windows are looked at together, since
// this happens after every region passed over and mostly finds nothing.

#include <array>
#include <cstdint>

#include "monitor/engine/comparison/start_tests.h"
#include "monitor/engine/comparison/start_window.h"

namespace orvis {

class StartKeys {
 public:
  // For the tests whose bits are set in `enabled`.
  explicit StartKeys(unsigned enabled);

  // Bit 8k + j is set when byte j of window k's word is such a byte.
  std::uint64_t in(const std::array<StartWindow, kStartTestCount>& windows) const;

 private:
  alignas(16) std::array<unsigned char, 8 * kStartTestCount> keys_{};
  std::uint64_t places_ = 0;
};

}  // namespace orvis
