// The page comparison against the cases worked out by hand, against the
// byte-by-byte walk on generated pages, and over every way the inputs can
// arrive in pieces.

#include "monitor/engine/comparison/html_source_comparison.h"

#include <gtest/gtest.h>

#include <random>

#include "comparison_rig.h"
#include "monitor/engine/comparison/memory_source.h"
#include "support/temp_dir.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

Observed compare(const std::string& baseline, const std::string& snapshot, const SkipSwitches& on,
                 std::size_t basePiece = 0, std::size_t snapPiece = 0) {
  RecordingSink sink;
  TickingClock clock;
  MemorySource b(baseline, basePiece), s(snapshot, snapPiece);
  const ComparisonResult r = HtmlSourceComparison(on, sink, clock).compare(b, s);
  return {r.code(), r.counter, r.context, sink.lines, r.alert};
}

// Every piece size gives what the whole inputs give.
void expectSameInAnyPieces(const std::string& b, const std::string& s, const SkipSwitches& on,
                           const Observed& whole) {
  for (std::size_t piece : {1, 2, 3, 5, 7, 13}) {
    const Observed cut = compare(b, s, on, piece, piece + 1);
    EXPECT_EQ(cut.code, whole.code) << "piece " << piece;
    EXPECT_EQ(cut.counter, whole.counter) << "piece " << piece;
    EXPECT_EQ(cut.context, whole.context) << "piece " << piece;
    EXPECT_EQ(cut.lines, whole.lines) << "piece " << piece;
  }
}

SkipSwitches only(bool SkipSwitches::*which) {
  SkipSwitches on;
  on.*which = true;
  return on;
}

const std::string kGood = "Good code.";
// Region lines by kind, as the table below writes them.
std::string in(int k) { return "<in " + std::to_string(k) + ">"; }
std::string out(int k) { return "<out " + std::to_string(k) + ">"; }
const std::string kReadAhead = "<read ahead>";

std::string expand(const std::string& line) {
  for (int k = 0; k < 8; ++k) {
    if (line == in(k)) return enterLine(k);
    if (line == out(k)) return leaveLine(k);
  }
  if (line == kReadAhead)
    return sj("## 余計に読み込んでいるバッファの中に、終了文字列を発見しましたので抜けます。");
  return sj(line);
}

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<std::string> differenceLines(int counter, const std::string& b, const std::string& s,
                                         const std::string& context) {
  return {"not same code.src counter=" + std::to_string(counter) + "(1 origin)",
          "SRC(元  ファイル)=" + b,
          "CHK(取得ファイル)=" + s,
          "",
          "更新検出個所:" + context,
          ""};
}

struct Case {
  const char* name;
  std::string baseline, snapshot;
  SkipSwitches on;
  int code;
  std::uint64_t counter;
  std::vector<std::string> lines;  // UTF-8, region lines by kind
};

// clang-format off
std::vector<Case> cases() {
  using S = SkipSwitches;
  const S none, all = S::all();
  const std::string script = "x<script>var a=1;</script>y";
  const std::string otherScript = "x<script>var b=22;</script>y";
  return {
      {"differs at the third byte", "abc", "abd", none, -3, 3, differenceLines(3, "c", "d", "abc")},
      {"snapshot longer", "abc", "abcdef", none, 0, 3, {kGood}},
      {"snapshot shorter", "abcdef", "abc", none, -1, 3, {"比較サイズが異なります。"}},
      {"empty baseline", "", "abc", all, -1, 0, {"source file invalid."}},
      {"equal", "<p>same</p>", "<p>same</p>", all, 0, 11, {kGood}},
      {"script skipped", script, otherScript, only(&S::script), 0, 9, {in(0), out(0), kGood}},
      {"script not skipped", script, otherScript, S::fromSettings("yes", "", "", "", "", ""), -3,
       14, differenceLines(14, "a", "b", "x<script>var a")},
      {"upper-case script", "<SCRIPT>1</SCRIPT>.", "<SCRIPT>22</Script>.", all, 0, 8,
       {in(0), out(0), kGood}},
      {"comment, context without skipped bytes", "ab<!--zzz-->cd", "ab<!--q-->cX", all, -3, 6,
       joined({in(1), out(1)}, differenceLines(6, "d", "X", "ab<!-cd"))},
      {"anchor", "<a href=1>one</a>!", "<a href=2>two</a>!", only(&S::anchor), 0, 3,
       {in(2), out(2), kGood}},
      {"anchor split by a line break", "<a\r\nhref=1>", "<a\r\nhref=2>", all, -3, 10,
       differenceLines(10, "1", "2", "<a\r\nhref=1")},
      {"src values", "<img src=\"a.gif\">", "<img src=\"bb.gif\">", only(&S::src), 0, 11,
       {in(3), out(3), kGood}},
      {"src with blanks", "<img src = \"a\" src =\"b\">", "<img src = \"cd\" src =\"ef\">", all,
       0, 18, {in(3), out(3), in(3), out(3), kGood}},
      {"empty src value read ahead", "<img src=\"\">", "<img src=\"\">", all, 0, 11,
       {in(3), kReadAhead, out(3), kGood}},
      {"alt values", "<i alt=\"p\">", "<i alt=\"qq\">", only(&S::alt), 0, 9, {in(4), out(4), kGood}},
      {"single-quoted src", "<i src='p'>", "<i src='qq'>", only(&S::src), 0, 9,
       {in(5), out(5), kGood}},
      {"single-quoted alt", "<i ALT='p'>", "<i ALT='qq'>", only(&S::alt), 0, 9,
       {in(6), out(6), kGood}},
      {"head", "<HEAD><title>1</title></head>.", "<HEAD><title>22</title></HEAD>.",
       only(&S::head), 0, 6, {in(7), out(7), kGood}},
      {"head with a blank is no head", "<head ><t>1", "<head ><t>2", all, -3, 11,
       differenceLines(11, "1", "2", "<head ><t>1")},
      {"skip reaches the end of both", "x<!-- a", "x<!-- bb", all, 0, 3, {in(1), out(1), kGood}},
      {"baseline region open to its end", "x<!-- a", "x<!-- b -->tail", all, 0, 3,
       {in(1), out(1), kGood}},
      {"snapshot region open to its end", "x<!-- a -->yz", "x<!-- b", all, -1, 3,
       {in(1), out(1), "比較サイズが異なります。"}},
      {"zero bytes compared, never shown", std::string("a\0b", 3), std::string("a\0c", 3), all,
       -3, 3, differenceLines(3, "b", "c", "ab")},
      {"zero byte inside an end", std::string("a<!--x-\0->b", 11), "a<!--yy-->b", all, 0, 4,
       {in(1), out(1), kGood}},
      {"zero bytes inside a start", std::string("<\0\0\0script>a</script>.", 22),
       std::string("<\0\0\0script>bb</script>.", 23), all, 0, 11, {in(0), out(0), kGood}},
      {"zero byte differs", std::string("a\0", 2), "ab", none, -3, 2,
       differenceLines(2, "", "b", "a")},
  };
}
// clang-format on

TEST(HtmlSourceComparison, WorkedCases) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    const Observed got = compare(c.baseline, c.snapshot, c.on);
    std::vector<std::string> expected;
    for (const std::string& line : c.lines) expected.push_back(expand(line));
    EXPECT_EQ(got.code, c.code);
    EXPECT_EQ(got.counter, c.counter);
    EXPECT_EQ(got.lines, expected);
    const Observed literal = literalComparison(c.baseline, c.snapshot, c.on);
    EXPECT_EQ(literal.lines, expected) << "the literal walk disagrees with the table";
    expectSameInAnyPieces(c.baseline, c.snapshot, c.on, got);
  }
}

TEST(HtmlSourceComparison, AlertsCarryMessageAndPlace) {
  const SkipSwitches none;
  EXPECT_FALSE(compare("abc", "abc", none).alert);
  const auto diff = compare(std::string(60, 'q') + "1", std::string(60, 'q') + "2", none);
  ASSERT_TRUE(diff.alert);
  EXPECT_EQ(diff.alert->message, sj("HTMLソース比較エラーを検出"));
  EXPECT_EQ(diff.alert->differenceText, std::string(50, 'q') + "1");
  EXPECT_EQ(compare("abc", "a", none).alert->message, sj("比較サイズが異なります。"));
  EXPECT_EQ(compare("", "a", none).alert->message, sj("ソースファイルがゼロバイトです。"));
  EXPECT_EQ(compare("abc", "a", none).alert->differenceText, "");

  RecordingSink sink;
  const ComparisonResult unopened = HtmlSourceComparison(none, sink).baselineUnopenable();
  EXPECT_EQ(unopened.code(), -1);
  EXPECT_EQ(unopened.alert->message, sj("ソースファイルが開けませんでした。"));
  EXPECT_EQ(sink.lines, std::vector<std::string>{"source file invalid."});
}

// Pages made of the pieces that start and end regions, and their near
// misses, with small changes in the snapshot: whatever the switches, the
// comparison sees what the byte-by-byte walk sees.
TEST(HtmlSourceComparison, AgreesWithTheLiteralWalk) {
  const std::vector<std::string> parts = {"<script",
                                          "<SCRIPT>",
                                          "/script>",
                                          "</Script>",
                                          "<!-",
                                          "<!--",
                                          "-->",
                                          "<a ",
                                          "<A ",
                                          "</a>",
                                          "src=\"",
                                          "src = \"",
                                          "ALT=\"",
                                          "\"",
                                          "src='",
                                          "alt='",
                                          "'",
                                          "<head>",
                                          "<HEAD>",
                                          "</head>",
                                          "<head >",
                                          " ",
                                          "x",
                                          "t",
                                          "-",
                                          ">",
                                          "<",
                                          "\r\n",
                                          std::string(1, '\0'),
                                          "=",
                                          "\x82\xa0",
                                          "xsrc=\"ab",
                                          "src=\"\"",
                                          "<scr",
                                          "ipt",
                                          "<hea",
                                          "d>",
                                          "sr",
                                          "c=",
                                          "<!",
                                          "a ",
                                          "script",
                                          "head>",
                                          "!-",
                                          "rc=\"",
                                          "lt='",
                                          std::string(1, '\0'),
                                          std::string(2, '\0')};
  std::mt19937 random(20260207);
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  for (int round = 0; round < 3000; ++round) {
    std::string baseline;
    const std::size_t length = 1 + pick(40);
    for (std::size_t i = 0; i < length; ++i) baseline += parts[pick(parts.size())];
    std::string snapshot = baseline;
    for (std::size_t edits = pick(3); edits > 0 && !snapshot.empty(); --edits) {
      const std::size_t at = pick(snapshot.size());
      switch (pick(3)) {
        case 0:
          snapshot[at] = 'z';
          break;
        case 1:
          snapshot.insert(at, parts[pick(parts.size())]);
          break;
        default:
          snapshot.erase(at, 1 + pick(4));
          break;
      }
    }
    const int bits = static_cast<int>(pick(64));
    const SkipSwitches on{(bits & 1) != 0, (bits & 2) != 0,  (bits & 4) != 0,
                          (bits & 8) != 0, (bits & 16) != 0, (bits & 32) != 0};
    const Observed expected = literalComparison(baseline, snapshot, on);
    // Whole, and in pieces: a new piece makes the comparison look closer.
    for (std::size_t piece : {std::size_t{0}, 1 + pick(9)}) {
      const Observed got = compare(baseline, snapshot, on, piece, piece ? 1 + pick(9) : 0);
      ASSERT_EQ(got.lines, expected.lines) << "round " << round << " switches " << bits;
      ASSERT_EQ(got.counter, expected.counter) << "round " << round;
      ASSERT_EQ(got.context, expected.context) << "round " << round;
      ASSERT_EQ(got.code, expected.code) << "round " << round;
    }
  }
}

// Long pages of regions packed close together, with short runs between
// them and bodies that differ in the snapshot, read whole and in pieces of
// many sizes: the comparison sees what the byte-by-byte walk sees, also
// where starts and ends lie across pieces, in upper case, beside zero bytes,
// and across the end of a piece of work (64 KiB).
TEST(HtmlSourceComparison, AgreesWithTheLiteralWalkOnDensePages) {
  const std::vector<std::pair<std::string, std::string>> regions = {
      {"<script", "/script>"},
      {"<SCRIPT type=\"t/js\">x/y", "</ScRiPt>"},
      {"<!--", "-->"},
      {"<!-", "- -- ->-->"},
      {"<a ", "</a>"},
      {"<A href=\"/x?a=1\">", "</A>"},
      {"<img src=\"", "\""},
      {" SRC = \"", "\""},
      {"alt='", "'"},
      {"<i ALT= '", "'"},
      {"<head>", "</head>"},
      {"<HEAD><title>t</title>", "</HEAD>"},
      // Zero bytes add nothing to a window: these ends are whole.
      {"<!--", std::string("-\0->", 4)},
      {"<script>", std::string("</scr\0\0ipt>", 12)}};
  const std::string runBytes = "ab <p>=\"'/t-> \r\n";
  const std::string bodyBytes = "xyz /<>-'\"tT=";
  std::mt19937 random(20260302);
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  auto some = [&](const std::string& from, std::size_t most) {
    std::string bytes(pick(most + 1), ' ');
    for (char& c : bytes) c = pick(50) == 0 ? '\0' : from[pick(from.size())];
    return bytes;
  };
  for (int round = 0; round < 300; ++round) {
    std::string baseline, snapshot;
    // Some pages run past the end of a piece of work, with regions close
    // to it.
    if (round % 10 == 9) baseline = snapshot = std::string(65536 - 40 + pick(40), 'q');
    for (std::size_t parts = 1 + pick(150); parts > 0; --parts) {
      if (pick(2) == 0) {
        const std::string run = some(runBytes, 12);
        baseline += run;
        snapshot += run;
        continue;
      }
      const auto& [start, end] = regions[pick(regions.size())];
      baseline += start + some(bodyBytes, 40) + end;
      snapshot += start + some(bodyBytes, 40) + end;
    }
    if (pick(4) == 0) snapshot[pick(snapshot.size())] = 'Z';
    const int bits = static_cast<int>(pick(64));
    const SkipSwitches on{(bits & 1) != 0, (bits & 2) != 0,  (bits & 4) != 0,
                          (bits & 8) != 0, (bits & 16) != 0, (bits & 32) != 0};
    const Observed expected = literalComparison(baseline, snapshot, on);
    for (std::size_t piece : {std::size_t{0}, 1 + pick(9), 17 + pick(48), 100 + pick(400)}) {
      const Observed got = compare(baseline, snapshot, on, piece, piece ? 1 + pick(2 * piece) : 0);
      ASSERT_EQ(got.lines, expected.lines) << "round " << round << " piece " << piece;
      ASSERT_EQ(got.counter, expected.counter) << "round " << round << " piece " << piece;
      ASSERT_EQ(got.context, expected.context) << "round " << round << " piece " << piece;
      ASSERT_EQ(got.code, expected.code) << "round " << round << " piece " << piece;
    }
  }
}

}  // namespace
