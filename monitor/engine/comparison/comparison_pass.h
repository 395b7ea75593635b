#pragma once
// One run of the comparison over a baseline and a snapshot: the lockstep
// over byte pairs, the region tests on the baseline's bytes, the skips and
// the outcome.
//
// The pairs are taken a piece at a time. A start can only be complete a few
// bytes after a '<' followed by the start's second byte, or after a quote
// that follows "src=" or "alt="; those bytes are foreseen as the '<' or the
// quote goes by (or from what the windows hold when a run begins), and only
// there do the tests look at their windows. The runs between are compared
// whole, and the windows are brought up to date only when a run ends. The
// tests read a window as a machine word, straight from the piece when the
// window lies in it; after a region, the '<' and quotes left in the windows
// are found for all of them at once. The pairs compared, the skips, the
// counter and the log lines are those of a byte-by-byte walk.

#include <array>
#include <cstddef>
#include <optional>

#include "monitor/engine/comparison/byte_cursor.h"
#include "monitor/engine/comparison/byte_scanner.h"
#include "monitor/engine/comparison/comparison_result.h"
#include "monitor/engine/comparison/comparison_sink.h"
#include "monitor/engine/comparison/end_token_skipper.h"
#include "monitor/engine/comparison/progress_ticker.h"
#include "monitor/engine/comparison/recent_bytes.h"
#include "monitor/engine/comparison/skip_switches.h"
#include "monitor/engine/comparison/skipped_region.h"
#include "monitor/engine/comparison/start_keys.h"
#include "monitor/engine/comparison/start_tests.h"
#include "monitor/engine/comparison/start_window.h"

namespace orvis {

class ComparisonPass {
 public:
  ComparisonPass(const SkipSwitches& switches, ByteSource& baseline, ByteSource& snapshot,
                 ComparisonSink& sink, ProgressClock& clock, RegionObserver* observer = nullptr);

  ComparisonResult run();

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // Compares the pairs at hand, passing over the regions among them, up to
  // the end of a piece of work or of what one input has at hand.
  std::optional<ComparisonResult> comparePieces();
  // A new run of baseline bytes for the windows starts at `at`.
  void beginRegion(std::size_t at);
  // Notes where the tag start that the '<' at `at` may begin would be
  // complete.
  void foreseeTag(const char* b, std::size_t at, std::size_t n);
  // Notes where an attribute start would be complete, when the quote at
  // `at` follows "src=" or "alt=".
  void foreseeAttribute(const char* b, std::size_t at);
  void expect(std::size_t test, std::size_t at);
  // Of the tests due at `at`, the one whose start the baseline byte there
  // completes, or kNone.
  std::size_t startAt(const char* b, std::size_t at, bool& readAhead);
  // A start test's window right after it has taken in the byte at `at`, as
  // a word and as text.
  std::uint64_t windowWordAt(std::size_t test, const char* b, std::size_t at) const;
  std::string_view windowAt(std::size_t test, const char* b, std::size_t at, char* scratch) const;
  // The windows take in the bytes of the current run up to `to`, which
  // started nothing.
  void windowsTake(const char* b, std::size_t to);
  // runWord() of the piece's bytes [from, to).
  std::uint64_t runWord(const char* b, std::size_t from, std::size_t to) const;
  void enterRegion(std::size_t test, const char* b, std::size_t at, bool readAhead);
  // How many bytes up to `at` make the start that the byte there completes
  // (more than the start's length where zero bytes lie among them).
  std::size_t startSpan(std::size_t test, const char* b, std::size_t at) const;
  void tellStop(std::size_t at) const;

  ComparisonResult difference(const char* b, const char* s, std::size_t from, std::size_t at);
  ComparisonResult fault(ComparisonOutcome kind, const std::string& alert);
  ComparisonResult equal();
  ComparisonResult outcome(ComparisonOutcome kind, std::optional<AlertRequest> alert) const;

  ComparisonSink& sink_;
  RegionObserver* observer_;
  ByteCursor baseline_;
  ByteCursor snapshot_;
  ProgressTicker ticker_;
  EndTokenSkipper skipper_;
  const StartTest* tests_;
  std::array<std::string_view, kStartTestCount> enterLines_, leaveLines_;
  // The tests whose switch is on, as bits by their order.
  unsigned enabled_ = 0;
  // The attribute tests by their quote, double then single; the tag tests
  // by the byte after their '<'.
  std::array<unsigned, 2> byQuote_{};
  std::array<std::uint8_t, 256> bySecondByte_{};
  // Bytes that a start cannot do without, and the zero byte, which no
  // window takes in.
  ByteScanner startBytes_;
  std::array<StartWindow, kStartTestCount> windows_;
  StartKeys startKeys_;
  RecentBytes context_{51};
  std::uint64_t counter_ = 0;

  // The current run of the piece: bytes from `region_` on have entered no
  // window yet; none of them is zero while a start test is on.
  std::size_t region_ = 0;
  // How many bytes before the piece may be read (up to eight), so that the
  // windows near its start can be read as words too.
  std::size_t behind_ = 0;
  // The tests that may complete their start at the next few positions, a
  // byte of tests per position in a ring of eight, and the nearest such
  // position.
  std::uint64_t due_ = 0;
  std::size_t nextDue_ = kNone;
};

}  // namespace orvis
