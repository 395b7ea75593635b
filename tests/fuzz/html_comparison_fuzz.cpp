// The page comparison on any two pages: against the plain byte-by-byte walk
// of the comparison tests, with the six switches and the sizes of the pieces
// each page arrives in taken from the input. Whatever the bytes, the result
// code, the counter, the place shown and the log lines are the walk's, and
// the progress never goes back nor beyond the baseline.
//
// Input: a byte of switches (bits 0-5: script, comment, anchor, src, alt,
// head), a byte each for the piece sizes of the baseline and the snapshot
// (0: whole), then the baseline, the separator "\n#--#\n" and the snapshot.
// Without the separator both pages are the same bytes.

#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "monitor/engine/comparison/comparison_rig.h"
#include "monitor/engine/comparison/html_source_comparison.h"
#include "monitor/engine/comparison/memory_source.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

constexpr std::string_view kSeparator = "\n#--#\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const unsigned bits = data[0];
  const SkipSwitches on{(bits & 1) != 0, (bits & 2) != 0,  (bits & 4) != 0,
                        (bits & 8) != 0, (bits & 16) != 0, (bits & 32) != 0};
  const std::size_t basePiece = data[1] % 32, snapPiece = data[2] % 32;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
  const std::size_t cut = rest.find(kSeparator);
  const std::string baseline(rest.substr(0, cut));
  const std::string snapshot(cut == std::string_view::npos ? rest
                                                           : rest.substr(cut + kSeparator.size()));

  TickingClock clock(7);
  RecordingSink sink(&clock);
  MemorySource b(baseline, basePiece), s(snapshot, snapPiece);
  const ComparisonResult got = HtmlSourceComparison(on, sink, clock).compare(b, s);
  const Observed want = literalComparison(baseline, snapshot, on);

  FUZZ_REQUIRE(got.code() == want.code);
  FUZZ_REQUIRE(got.counter == want.counter);
  FUZZ_REQUIRE(got.context == want.context);
  FUZZ_REQUIRE(sink.lines == want.lines);
  FUZZ_REQUIRE(got.alert.has_value() == (got.code() != 0));

  std::uint64_t done = 0;
  for (const ProgressReport& r : sink.reports) {
    FUZZ_REQUIRE(r.done >= done && r.total == baseline.size() && r.done <= baseline.size());
    done = r.done;
  }
  return 0;
}
