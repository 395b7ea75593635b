// The history of every job type through the verbs, as a script sees it:
// the output and exit status of --history and --diff over stored versions,
// one table per type; and the line diff against random pages.

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "history_rig.h"
#include "monitor/app/history_verbs.h"
#include "monitor/history/history_entries.h"
#include "monitor/history/line_diff.h"
#include "monitor/history/page_regions.h"
#include "platform/bytes.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

struct Case {
  const char* name;
  std::vector<std::string> args;
  int status;
  std::string out;  // UTF-8; F/ stands for the data folder
};

std::string run(HistoryFolder& f, const std::vector<std::string>& args, int& status) {
  const CommandLine line = CommandLine::parse(args);
  std::ostringstream out, err;
  status = line.verb == CommandLine::Verb::Invalid
               ? line.errorStatus
               : runHistoryCommand(line, f.dir.path(), out, err);
  return platform::replaceAll(out.str(), f.dir.path(), "F/");
}

void expectCases(HistoryFolder& f, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    int status = -1;
    const std::string out = run(f, c.args, status);
    EXPECT_EQ(status, c.status) << c.name;
    EXPECT_EQ(out, c.out) << c.name;
  }
}

// The "---" and "+++" lines of job `no` from place `older` to `newer`.
std::string head(const std::string& no, int older = 1, int newer = 0) {
  auto side = [&no](int place) {
    return placeText(place) + "\t2026/03/01 " + std::to_string(12 - place) + ":00:00\tF/src/" + no +
           ".ini" + (place ? "." + std::to_string(place) : "") + "\n";
  };
  return "--- " + side(older) + "+++ " + side(newer);
}
const std::string kHead1 = head("1");

}  // namespace

TEST(History, PagesDifferAsTheCheckSeesThem) {
  HistoryFolder f;
  f.job("1", "URL", "http://x/", "CHKKOBETSU=1\r\nCHKHIKAKU=1\r\nCHKSCRIPT=1\r\nCHKSRC=1\r\n");
  f.entries("1", {"<p>a</p>\r\n<script>x=22</script>\r\n<img src = \"bb.gif\">\r\n<p>c</p>\r\n",
                  "<p>a</p>\r\n<script>x=1</script>\r\n<img src = \"a.gif\">\r\n<p>b</p>\r\n"});
  const std::string why =
      "comparison (the job's own rules): first difference at line 4, character 4 of 1 and "
      "line 4, character 4 of baseline\npassed over: script, src\n";
  expectCases(
      f,
      {
          {"regions marked",
           {"--diff", "1"},
           1,
           why + kHead1 +
               "@@ -1,4 +1,4 @@\n <p>a</p>\n-⟦<script>x=1</script⟧>\n-<img ⟦src = \"a.gif\"⟧>\n"
               "-<p>b</p>\n+⟦<script>x=22</script⟧>\n+<img ⟦src = \"bb.gif\"⟧>\n+<p>c</p>\n"},
          {"regions left out",
           {"--diff", "1", "--changes-only"},
           1,
           why + kHead1 + "@@ -1,4 +1,4 @@\n <p>a</p>\n >\n <img >\n-<p>b</p>\n+<p>c</p>\n"},
          {"entries in either order",
           {"--diff", "1", "baseline", "1"},
           1,
           why + kHead1 +
               "@@ -1,4 +1,4 @@\n <p>a</p>\n-⟦<script>x=1</script⟧>\n-<img ⟦src = \"a.gif\"⟧>\n"
               "-<p>b</p>\n+⟦<script>x=22</script⟧>\n+<img ⟦src = \"bb.gif\"⟧>\n+<p>c</p>\n"},
          {"an entry with itself",
           {"--diff", "1", "1", "1"},
           0,
           "comparison (the job's own rules): no difference as far as 1 goes\npassed over: script, "
           "src\n"},
          {"the list",
           {"--history", "1"},
           0,
           "baseline\t2026/03/01 12:00:00\t65\n1\t2026/03/01 11:00:00\t63\n"},
          {"no such entry", {"--diff", "1", "7"}, 2, ""},
          {"no such place", {"--diff", "1", "21"}, 3, ""},
          {"no such job", {"--diff", "9"}, 2, ""},
          {"no job given", {"--history"}, 3, ""},
          {"too many places", {"--diff", "1", "1", "2", "3"}, 3, ""},
          {"no option of --history", {"--history", "1", "--changes-only"}, 3, ""},
      });

  // Standard rules; the only change lies in a comment, the page grew.
  writeText(f.dir / "ORVIS.ini", "[COMMON]\r\nCOMMENT_IGNORE=YES\r\n");
  f.job("2", "URL", "http://x/");
  f.entries("2", {"<!-- 10:05 -->\r\nbody\r\nmore\r\n", "<!-- 10:00 -->\r\nbody\r\n"});
  // The page became shorter; and a job that only checks the answer.
  f.job("3", "URL", "http://x/", "CHKKOBETSU=1\r\nCHKHIKAKU=1\r\n");
  f.entries("3", {"abc\r\n", "abc\r\ndef\r\n"});
  f.job("4", "URL", "http://x/", "CHKKOBETSU=1\r\nCHKHIKAKU=0\r\nCHKSCRIPT=1\r\n");
  f.entries("4", {"<script>2</script>\r\n", "<script>1</script>\r\n"});
  expectCases(
      f,
      {
          {"equal but for a region",
           {"--diff", "2", "--changes-only"},
           1,
           "comparison (the standard rules of ORVIS.ini): no difference as far as 1 goes\n"
           "passed over: comment\n" +
               head("2") + "@@ -2 +2,2 @@\n body\n+more\n"},
          {"shorter",
           {"--diff", "3"},
           1,
           "comparison (the job's own rules): baseline ends before 1 does, at line 2, character 1 "
           "of 1\npassed over: nothing\n" +
               head("3") + "@@ -1,2 +1 @@\n abc\n-def\n"},
          {"not compared",
           {"--diff", "4"},
           1,
           "comparison (the job's own rules): none, the job only checks that the page answers\n" +
               head("4") + "@@ -1 +1 @@\n-<script>1</script>\n+<script>2</script>\n"},
      });
  // A zero byte inside a start: the region still begins at its "<".
  const PageRegions r = passedOver(std::string("x<scr\0ipt>a</script>y", 21),
                                   std::string("x<scr\0ipt>a</script>y", 21), SkipSwitches::all());
  ASSERT_EQ(r.older.size(), 1u);
  EXPECT_EQ(r.older[0].begin, 1u);
  EXPECT_EQ(r.older[0].end, 19u);
}

TEST(History, FoldersProgramsAndDisks) {
  HistoryFolder f;
  f.job("1", "FILE", "/d");
  f.entries("1", {sj("2026/03/01 11:30:00@/d/a.txt\r\n2026/03/01 11:40:00@/d/新.txt\r\n"),
                  "2026/03/01 10:00:00@/d/a.txt\r\n2026/03/01 10:00:00@/d/b.txt\r\n",
                  "2026/03/01 10:00:00@/d/a.txt\r\n2026/03/01 10:00:00@/d/b.txt\r\n"});
  f.job("2", "PROC", "worker");
  f.entries("2", {"000011 000001 sh\r\n", "000011 000001 sh\r\n000012 000001 worker\r\n",
                  "000010 000001 worker\r\n000011 000001 sh\r\n"});
  f.job("3", "DRIVE", "/:10");
  f.entries("3", {"9800\r\n", "12000\r\n", "12000\r\n"});
  expectCases(f,
              {
                  {"files",
                   {"--diff", "1"},
                   1,
                   head("1") + "[更新][2026/03/01 10:00:00]->[2026/03/01 11:30:00] /d/a.txt\n"
                               "[削除][2026/03/01 10:00:00]->[N/A] /d/b.txt\n"
                               "[追加][N/A]->[2026/03/01 11:40:00] /d/新.txt\n"},
                  {"no file changed", {"--diff", "1", "1", "2"}, 0, ""},
                  {"programs",
                   {"--diff", "2", "2", "1"},
                   1,
                   head("2", 2, 1) + "[終了] 000010 000001 worker\n[起動] 000012 000001 worker\n"},
                  {"the watched program ended",
                   {"--diff", "2"},
                   1,
                   head("2") + "[終了] 000012 000001 worker\nworkerが終了しました。\n"},
                  {"free space fell below",
                   {"--diff", "3"},
                   1,
                   head("3") + "free space: 12000 MB -> 9800 MB (threshold 10240 "
                               "MB)\n/ドライブの残量が9GBとなりました。\n"},
                  {"free space the same", {"--diff", "3", "1", "2"}, 0, ""},
              });
}

TEST(History, GenerationsKeepTheTimeTheyWereStored) {
  HistoryFolder f;
  f.entries("1", {"b\r\n", "a\r\n"});
  rotateGenerations(f.dir / "src/1.ini");
  const std::vector<HistoryEntry> e = historyEntries(f.dir / "src/1.ini");
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[1].stored, f.newest);
  EXPECT_EQ(e[2].stored, f.newest - 3600);
}

TEST(History, RunsTurnTheOlderPageIntoTheNewer) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    auto page = [&random] {
      std::string text;
      for (int n = static_cast<int>(random() % 40); n-- > 0;)
        text += "abcdef"[random() % 6] + std::string("\r\n");
      return text;
    };
    const PageLines older(page()), newer(page());
    UnwatchedWork work;
    std::string rebuilt;
    const std::optional<std::vector<DiffRun>> runs = diffLines(older, newer, work);
    for (const DiffRun& run : *runs) {
      for (std::uint32_t i = 0; i < run.count; ++i) {
        if (run.kind == DiffRun::Kind::Removed) continue;
        ASSERT_TRUE(run.kind == DiffRun::Kind::Added ||
                    older.line(run.older + i) == newer.line(run.newer + i));
        rebuilt += std::string(newer.line(run.newer + i)) + "\r\n";
      }
    }
    EXPECT_EQ(rebuilt, newer.text()) << round;
  }
}
