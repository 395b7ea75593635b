#pragma once
// Passes over a region of one input: reads on until the bytes read, with
// zero bytes left out and letters lowercased, end with the region's end
// token. The next read starts after the token.

#include <algorithm>
#include <bit>
#include <cstdint>

#include "monitor/engine/comparison/byte_cursor.h"
#include "monitor/engine/comparison/progress_ticker.h"
#include "monitor/engine/comparison/recent_bytes.h"
#include "monitor/engine/comparison/start_tests.h"
#include "monitor/engine/comparison/start_window.h"

namespace orvis {

class EndTokenSkipper {
 public:
  // What a quick search answers when it leaves the question to a slower one.
  static constexpr std::size_t kUnsure = static_cast<std::size_t>(-1);

  explicit EndTokenSkipper(ProgressTicker& ticker) : ticker_(ticker) {}

  // False when the input ended (or failed) before the token: the region
  // then ends with the input, since no more bytes can come.
  bool skip(ByteCursor& cursor, const StartTest& region) {
    if (region.endByte != 0) {
      // Most quoted values end within their first sixteen bytes: two words
      // tell, without a call.
      if (cursor.available() >= 16) {
        for (std::size_t at = 0; at < 16; at += StartWindow::kCapacity) {
          const std::uint64_t equal = StartWindow::equalBytes(
              StartWindow::wordEndingAt(cursor.data() + at + StartWindow::kCapacity),
              region.endByte);
          if (equal != 0) {
            cursor.advance(at + static_cast<std::size_t>(std::countr_zero(equal)) / 8 + 1);
            return true;
          }
        }
      }
      return skipToByte(cursor, region.endByte);
    }
    // Most other regions end in the piece at hand.
    const std::size_t n = std::min(cursor.available(), kWorkPiece);
    const std::size_t end =
        n == 0 ? kUnsure : quickEndIn(cursor.data(), n, cursor.available(), region);
    if (end < n) {
      cursor.advance(end + 1);
      return true;
    }
    return skipOn(cursor, region, end == n);
  }

 private:
  // skip() from the piece at hand on; `noEndHere` when the piece at hand is
  // known to hold no end.
  bool skipOn(ByteCursor& cursor, const StartTest& region, bool noEndHere);
  // skip() for an end of one byte that has no other case (a quote).
  bool skipToByte(ByteCursor& cursor, char end);
  // Where the first end lies in the first piece of a region, many bytes at
  // a time: as endIn(), or kUnsure when a zero byte, the piece's end or
  // the end of the readable bytes leaves it to endIn().
  static std::size_t quickEndIn(const char* p, std::size_t n, std::size_t readable,
                                const StartTest& region);
  // Where in the piece [p, p + n) the bytes taken so far first end with
  // the token: the index of its last byte, or n.
  static std::size_t endIn(const char* p, std::size_t n, std::size_t readable,
                           const RecentBytes& taken, const StartTest& region);

  ProgressTicker& ticker_;
};

}  // namespace orvis
