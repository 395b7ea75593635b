// The comparison's progress reports, its inputs read from streams, and
// inputs that fail part-way.

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "comparison_rig.h"
#include "monitor/engine/comparison/html_source_comparison.h"
#include "monitor/engine/comparison/memory_source.h"
#include "monitor/engine/comparison/stream_source.h"
#include "support/temp_dir.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

// Reports come every 50 ms of the injected clock, neither sooner nor much
// later: also while a long region is passed over, in either file.
TEST(ComparisonProgress, ReportsEvery50Milliseconds) {
  const std::string body(4 << 20, 'z');
  struct Page {
    const char* name;
    std::string baseline, snapshot;
  } pages[] = {
      {"plain", body, body},
      {"long comment in the baseline", "<!--" + body + "-->.", "<!--x-->."},
      {"long comment in the snapshot", "<!--x-->.", "<!--" + body + "-->."},
  };
  for (const Page& page : pages) {
    SCOPED_TRACE(page.name);
    // Each look at the clock costs 5 ms, so reports may come 10 ms late.
    TickingClock clock(5);
    RecordingSink sink(&clock);
    MemorySource b(page.baseline), s(page.snapshot);
    const auto r = HtmlSourceComparison(SkipSwitches::all(), sink, clock).compare(b, s);
    EXPECT_EQ(r.code(), 0);
    ASSERT_GT(sink.reports.size(), 3u);
    EXPECT_EQ(sink.reports[0].done, 0u);
    EXPECT_EQ(sink.reports[0].total, page.baseline.size());
    for (std::size_t i = 1; i < sink.reports.size(); ++i) {
      const auto gap = sink.reports[i].at - sink.reports[i - 1].at;
      EXPECT_GE(gap, 50);
      EXPECT_LE(gap, 60);
      EXPECT_GE(sink.reports[i].done, sink.reports[i - 1].done);
      EXPECT_LE(sink.reports[i].done, page.baseline.size());
    }
  }
}

// Hands out its bytes, then fails.
class FailingSource : public ByteSource {
 public:
  explicit FailingSource(std::string bytes) : bytes_(std::move(bytes)) {}
  std::string_view next() override {
    if (served_) {
      failed_ = true;
      return {};
    }
    served_ = true;
    return bytes_;
  }
  bool failed() const override { return failed_; }
  std::optional<std::uint64_t> size() const override { return std::nullopt; }

 private:
  std::string bytes_;
  bool served_ = bytes_.empty();
  bool failed_ = false;
};

// A stream buffer whose reads fail after the first bytes.
class BrokenBuffer : public std::stringbuf {
 public:
  explicit BrokenBuffer(const std::string& bytes) : std::stringbuf(bytes) {}

 protected:
  int_type underflow() override { throw std::runtime_error("read error"); }
};

TEST(ComparisonInputs, FailedReadsAreNeverEquality) {
  const std::string page = "<p>abc</p>";
  RecordingSink sink;
  HtmlSourceComparison comparison(SkipSwitches::all(), sink);
  auto expectUnreadable = [&](const ComparisonResult& r) {
    EXPECT_EQ(r.outcome, ComparisonOutcome::BaselineUnreadable);
    EXPECT_EQ(r.code(), -1);
    EXPECT_EQ(sink.lines.back(), "source file invalid.");
    EXPECT_EQ(r.alert->message, sj("ソースファイルが開けませんでした。"));
  };
  {
    FailingSource b(page);
    MemorySource s(page);
    expectUnreadable(comparison.compare(b, s));
  }
  {
    FailingSource b("");
    MemorySource s(page);
    expectUnreadable(comparison.compare(b, s));
  }
  {
    BrokenBuffer buffer(page);
    std::istream stream(&buffer);
    StreamSource b(stream, 4);
    MemorySource s(page);
    expectUnreadable(comparison.compare(b, s));
  }
  {
    MemorySource b(page);
    FailingSource s("<p>a");
    const auto r = comparison.compare(b, s);
    EXPECT_EQ(r.outcome, ComparisonOutcome::SnapshotShorter);
    EXPECT_EQ(r.counter, 4u);
  }
}

TEST(ComparisonInputs, StreamsGiveWhatMemoryGives) {
  const std::string baseline = "x<script>var a=1;</script><img src=\"a\">y";
  const std::string snapshot = "x<script>var b=22;</script><img src=\"bb\">Y";
  RecordingSink fromMemory, fromStreams;
  MemorySource mb(baseline), ms(snapshot);
  const auto expected = HtmlSourceComparison(SkipSwitches::all(), fromMemory).compare(mb, ms);
  std::istringstream bs(baseline), ss(snapshot);
  StreamSource sb(bs, 3), sss(ss, 5);
  EXPECT_EQ(sb.size(), baseline.size());
  const auto got = HtmlSourceComparison(SkipSwitches::all(), fromStreams).compare(sb, sss);
  EXPECT_EQ(got.code(), -3);
  EXPECT_EQ(got.counter, expected.counter);
  EXPECT_EQ(got.context, expected.context);
  EXPECT_EQ(fromStreams.lines, fromMemory.lines);
}

}  // namespace
