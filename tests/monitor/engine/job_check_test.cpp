// The check of each job type on real snapshot and baseline files: results
// in the job files, log lines, alert mails, baselines and generations.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <functional>

#include "monitor/engine/file_listing.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "support/check_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

using Lines = std::vector<std::string>;

// The lines logged for job `no`, from its "->チェック開始" to the next
// job's, or to the job list loaded again at the end of the pass.
Lines linesOfJob(const Lines& log, const std::string& no) {
  auto from = std::find(log.begin(), log.end(), no + "->チェック開始");
  if (from == log.end()) return {};
  auto to = std::find_if(from + 1, log.end(), [](const std::string& l) {
    return l.ends_with("->チェック開始") || l == "Global,情報収集";
  });
  return Lines(from, to);
}

// After the three lines that open a job's check and the ten that name its
// rules.
Lines evaluationLines(const Lines& log, const std::string& no) {
  Lines job = linesOfJob(log, no);
  return job.size() < 13 ? Lines{} : Lines(job.begin() + 13, job.end());
}

std::string stamp(time_t t) {
  char text[20];
  struct tm tm;
  std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", localtime_r(&t, &tm));
  return text;
}

void writeAt(const std::string& path, time_t t) {
  writeText(path, "x");
  const struct timespec times[2] = {{t, 0}, {t, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

TEST(JobCheck, TheRulesAreTheJobsOwnOrTheStandardOnesAndAreLogged) {
  CheckRig rig;
  writeText(rig.path("ORVIS.ini"), "[COMMON]\r\nSCRIPT_IGNORE=YES\r\nHEAD_IGNORE=yes\r\n");
  rig.job("1", "URL", "http://a/", {"CHKWORD=1", "WORD=x", "CHKSCRIPT=0"});
  rig.job("2", "URL", "http://b/", {"CHKKOBETSU=1", "CHKHIKAKU=1", "CHKREF=1", "CHKALT=0"});
  rig.pages = {{"http://a/", "page"}, {"http://b/", "page"}};
  rig.baseline("1", "page");
  rig.baseline("2", "page");
  rig.check(1, 2);
  const Lines log = rig.newMessages();
  const Lines first = linesOfJob(log, "1");
  ASSERT_GE(first.size(), 13u);
  EXPECT_EQ(Lines(first.begin(), first.begin() + 13),
            (Lines{"1->チェック開始", "1チェックタイプ->URL", "1->チェック対象->http://a/",
                   "1->基本設定でチェックします。", "1->SOURCE_CHECK:YES", "1->SCRIPT_IGNORE:YES",
                   "1->COMMENT_IGNORE:", "1->HREF_IGNORE:", "1->SRC_IGNORE:", "1->ALT_IGNORE:",
                   "1->HEAD_IGNORE:yes", "1->WORD_CHECK:YES", "1->WORD:x"}));
  const Lines second = linesOfJob(log, "2");
  ASSERT_GE(second.size(), 13u);
  EXPECT_EQ(Lines(second.begin() + 3, second.begin() + 13),
            (Lines{"2->個別設定でチェックします。", "2->SOURCE_CHECK:YES", "2->SCRIPT_IGNORE:NO",
                   "2->COMMENT_IGNORE:NO", "2->HREF_IGNORE:YES", "2->SRC_IGNORE:NO",
                   "2->ALT_IGNORE:NO", "2->HEAD_IGNORE:NO", "2->WORD_CHECK:NO", "2->WORD:"}));
  EXPECT_EQ(platform::toUtf8(rig.shell.busyMessage), "№2のサーバーと通信中・・");
}

// Pages against baselines, under the job's own rules.
struct PageCase {
  const char* baseline;  // nullptr: none
  const char* page;
  const char* skipScripts;
  const char* result;
  Lines lines;  // between "起動成功" and the job's result line
  const char* alert;
  const char* detail;
};

TEST(JobCheck, PagesAreComparedWithTheirBaselines) {
  const std::string x = "x<script>var a=1;</script>y", x2 = "x<script>var b=22;</script>y";
  const PageCase cases[] = {
      {"abc",
       "abd",
       "0",
       "0",
       {"not same code.src counter=3(1 origin)", "SRC(元  ファイル)=c", "CHK(取得ファイル)=d", "",
        "更新検出個所:abc", "", "メール送信起動成功", "1->比較エラー"},
       "HTMLソース比較エラーを検出",
       "abc"},
      {"abc", "abcdef", "0", "1", {"Good code.", "2->OK"}, "", ""},
      {"abcdef",
       "abc",
       "0",
       "0",
       {"比較サイズが異なります。", "メール送信起動成功", "3->比較エラー"},
       "比較サイズが異なります。",
       ""},
      {x.c_str(),
       x2.c_str(),
       "1",
       "1",
       {"## SCRIPTタグに入りました。データスキップします。", "## SCRIPTタグから抜けました。",
        "Good code.", "4->OK"},
       "",
       ""},
      {x.c_str(),
       x2.c_str(),
       "0",
       "0",
       {"not same code.src counter=14(1 origin)", "SRC(元  ファイル)=a", "CHK(取得ファイル)=b", "",
        "更新検出個所:x<script>var a", "", "メール送信起動成功", "5->比較エラー"},
       "HTMLソース比較エラーを検出",
       "x<script>var a"},
      {nullptr,
       "new",
       "0",
       "0",
       {"source file invalid.", "メール送信起動成功", "6->比較エラー"},
       "ソースファイルがゼロバイトです。",
       ""},
  };
  CheckRig rig;
  int no = 0;
  for (const PageCase& c : cases) {
    const std::string n = std::to_string(++no), uri = "http://example.com/" + n;
    rig.job(n, "URL", uri,
            {"CHKKOBETSU=1", "CHKHIKAKU=1", std::string("CHKSCRIPT=") + c.skipScripts});
    if (c.baseline) rig.baseline(n, c.baseline);
    rig.pages[uri] = c.page;
  }
  rig.check(1, no);
  const Lines log = rig.messages();
  std::vector<RaisedAlert> expectedAlerts;
  no = 0;
  for (const PageCase& c : cases) {
    const std::string n = std::to_string(++no);
    SCOPED_TRACE("job " + n);
    Lines expected{"起動成功"};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    EXPECT_EQ(evaluationLines(log, n), expected);
    EXPECT_EQ(rig.jobValue(n, "CHECK"), c.result);
    const bool changed = std::string(c.result) == "0";
    // A change makes the page the baseline, the old one its first generation.
    EXPECT_EQ(rig.baselineNow(n), changed ? c.page : c.baseline);
    EXPECT_EQ(readText(rig.path("src/" + n + ".ini.1")),
              changed ? (c.baseline ? c.baseline : "") : "<missing>");
    if (*c.alert) expectedAlerts.push_back({"0", "0", c.alert, c.detail});
  }
  ASSERT_EQ(rig.alerts.size(), expectedAlerts.size());
  for (size_t i = 0; i < expectedAlerts.size(); ++i) {
    EXPECT_EQ(rig.alerts[i].message, expectedAlerts[i].message);
    EXPECT_EQ(rig.alerts[i].detail, expectedAlerts[i].detail);
  }
  // The gauge went up for each baseline with bytes, and is down again.
  EXPECT_EQ(rig.shell.compareGaugeShows, 5);
  EXPECT_EQ(rig.shell.compareMax, static_cast<int64_t>(x.size()));
  EXPECT_FALSE(rig.shell.compareGauge);
  EXPECT_FALSE(platform::pathExists(rig.path("temp/srctemp.txt")));
}

TEST(JobCheck, TheWordCheckFindsWholeCharactersAndKeepsEveryPage) {
  CheckRig rig;
  const std::string word = sj("ア");
  // "潟" ends with the byte that "ア" starts with, and "A" is its second.
  const struct {
    const char* check;
    std::string word, page;
    bool found;
  } cases[] = {{"1", word, sj("<p>アイ</p>"), true},
               {"1", word, sj("<p>潟A</p>"), false},
               {"1", "", "any page", false},
               {"0", word, sj("アイ"), false}};
  int no = 0;
  for (const auto& c : cases) {
    const std::string n = std::to_string(++no);
    rig.job(n, "URL", "http://w/" + n,
            Lines{"CHKKOBETSU=1", "CHKHIKAKU=0", std::string("CHKWORD=") + c.check,
                  "WORD=" + platform::toUtf8(c.word)});
    rig.pages["http://w/" + n] = c.page;
  }
  rig.check(1, no);
  rig.check(1, no);
  const Lines log = rig.messages();
  EXPECT_EQ(evaluationLines(log, "1"),
            (Lines{"起動成功", "1->ワードチェック開始 WORD=ア", "1->指定ワード検出",
                   "メール送信起動成功", "1->ワードチェック終了", "1->RES OK"}));
  no = 0;
  for (const auto& c : cases) {
    const std::string n = std::to_string(++no);
    SCOPED_TRACE("job " + n);
    // The word never changes the result.
    EXPECT_EQ(rig.jobValue(n, "CHECK"), "1");
    const bool checked = std::string(c.check) == "1";
    EXPECT_EQ(readText(rig.path("word/" + n + ".ini")), checked ? c.page : "<missing>");
    EXPECT_EQ(readText(rig.path("word/" + n + ".ini.1")), checked ? c.page : "<missing>");
  }
  ASSERT_EQ(rig.alerts.size(), 2u);  // job 1, in both passes
  EXPECT_EQ(rig.alerts[0].message, "指定ワードを検出");
  EXPECT_EQ(rig.alerts[0].detail, "ア");
}

TEST(JobCheck, TheStandardSourceCheckIsOnUnlessItSaysNo) {
  const struct {
    const char* settings;
    const char* result;
    const char* last;
  } cases[] = {{"SOURCE_CHECK=NO\r\n", "1", "1->RES OK"},
               {"SOURCE_CHECK=\r\n", "0", "1->比較エラー"},
               {"", "0", "1->比較エラー"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    CheckRig rig;
    writeText(rig.path("ORVIS.ini"), std::string("[COMMON]\r\n") + c.settings);
    rig.job("1", "URL", "http://a/");
    rig.baseline("1", "abc");
    rig.pages["http://a/"] = "abd";
    rig.check(1, 1);
    EXPECT_EQ(rig.jobValue("1", "CHECK"), c.result);
    EXPECT_EQ(linesOfJob(rig.messages(), "1").back(), c.last);
  }
}

TEST(JobCheck, FolderChangesFileByFile) {
  CheckRig rig;
  const std::string folder = rig.path("target");
  const std::string f = folder;  // as the snapshot writes it
  const time_t t0 = 1765000000, t1 = t0 + 3600;
  writeAt(folder + "/a.txt", t0);
  writeAt(folder + "/b.txt", t0);
  rig.job("1", "FILE", folder);
  const std::string first = FileListing(rig.dir.path(), rig.pump).list(folder, false);
  rig.baseline("1", first);

  const struct {
    const char* what;
    std::function<void()> change;
    Lines entries;
  } steps[] = {
      {"a file touched",
       [&] { writeAt(folder + "/a.txt", t1); },
       {"[更新][" + stamp(t0) + "]->[" + stamp(t1) + "] " + f + "/a.txt"}},
      {"nothing", [] {}, {}},
      {"one deleted, one added",
       [&] {
         platform::removeFile(folder + "/b.txt");
         writeAt(folder + "/c.txt", t0);
       },
       {"[削除][" + stamp(t0) + "]->[N/A] " + f + "/b.txt",
        "[追加][N/A]->[" + stamp(t0) + "] " + f + "/c.txt"}},
      {"renamed",
       [&] { std::rename((folder + "/c.txt").c_str(), (folder + "/d.txt").c_str()); },
       {"[削除][" + stamp(t0) + "]->[N/A] " + f + "/c.txt",
        "[追加][N/A]->[" + stamp(t0) + "] " + f + "/d.txt"}},
      // A path is never taken for a longer one that starts with it.
      {"a.txt renamed a.txt.bak",
       [&] { std::rename((folder + "/a.txt").c_str(), (folder + "/a.txt.bak").c_str()); },
       {"[削除][" + stamp(t1) + "]->[N/A] " + f + "/a.txt",
        "[追加][N/A]->[" + stamp(t1) + "] " + f + "/a.txt.bak"}},
      {"a.txt back beside a.txt.bak",
       [&] { writeAt(folder + "/a.txt", t0); },
       {"[追加][N/A]->[" + stamp(t0) + "] " + f + "/a.txt"}},
  };
  size_t alerts = 0;
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.change();
    rig.check(1, 1);
    const Lines evaluation = evaluationLines(rig.newMessages(), "1");
    Lines expected{"起動成功"};
    expected.insert(expected.end(), step.entries.begin(), step.entries.end());
    if (step.entries.empty()) {
      expected.push_back("1->OK");
      EXPECT_EQ(rig.jobValue("1", "CHECK"), "1");
      EXPECT_EQ(rig.alerts.size(), alerts);
    } else {
      expected.insert(expected.end(), {"1->ファイル更新を検出", "メール送信起動成功"});
      EXPECT_EQ(rig.jobValue("1", "CHECK"), "0");
      ASSERT_EQ(rig.alerts.size(), ++alerts);
      std::string detail;
      for (const auto& e : step.entries) detail += e + "\r\n";
      EXPECT_EQ(rig.alerts.back().message, "ファイル更新を検出");
      EXPECT_EQ(rig.alerts.back().detail, detail);
    }
    EXPECT_EQ(evaluation, expected);
  }
  // Every change moved the baseline on; the first one is the oldest generation.
  EXPECT_EQ(readText(rig.path("src/1.ini.5")), first);
  EXPECT_EQ(rig.baselineNow("1"), FileListing(rig.dir.path(), rig.pump).list(folder, false));
}

TEST(JobCheck, ProgramsStartedAndEnded) {
  CheckRig rig;
  rig.processes.entries = {{1, 0, "init"}, {4321, 1, "NOTEPAD.EXE"}, {5000, 1, "bash"}};
  const std::string now =
      "000001 000000 init\r\n004321 000001 NOTEPAD.EXE\r\n005000 000001 bash\r\n";
  const struct {
    const char* uri;
    const char* baseline;
    const char* detail;  // "" for none
  } cases[] = {
      {"notepad.exe", "000001 000000 init\r\n", "notepad.exeが起動しました。"},
      {"sshd", "000001 000000 init\r\n000100 000001 sshd\r\n", "sshdが終了しました。"},
      // A name of digits is never found in a process number.
      {"4321", "000001 000000 init\r\n", ""},
      {"4321", "004321 000001 NOTEPAD.EXE\r\n", ""},
      {"BASH", "005000 000001 bash\r\n", ""},
      {"bash", nullptr, "bashが起動しました。"},
  };
  int no = 0;
  for (const auto& c : cases) {
    const std::string n = std::to_string(++no);
    rig.job(n, "PROC", c.uri);
    if (c.baseline) rig.baseline(n, c.baseline);
  }
  rig.check(1, no);
  const Lines log = rig.messages();
  size_t alert = 0;
  no = 0;
  for (const auto& c : cases) {
    const std::string n = std::to_string(++no);
    SCOPED_TRACE(c.uri);
    const bool changed = *c.detail != '\0';
    EXPECT_EQ(rig.jobValue(n, "CHECK"), changed ? "0" : "1");
    const Lines expected =
        changed ? Lines{"起動成功", c.detail, n + "->プロセス状態更新を検出", "メール送信起動成功"}
                : Lines{"起動成功", n + "->OK"};
    EXPECT_EQ(evaluationLines(log, n), expected);
    EXPECT_EQ(rig.baselineNow(n), changed ? now : (c.baseline ? c.baseline : "<missing>"));
    if (!changed) continue;
    ASSERT_LT(alert, rig.alerts.size());
    EXPECT_EQ(rig.alerts[alert].message, "プロセス状態更新を検出");
    EXPECT_EQ(rig.alerts[alert++].detail, c.detail);
  }
  EXPECT_EQ(alert, rig.alerts.size());
}

TEST(JobCheck, FreeSpaceFallingToTheThreshold) {
  CheckRig rig;
  rig.disks.anyPath.reset();
  auto freeMb = [&](const std::string& disk, uint64_t mb) {
    rig.disks.disks[disk] = platform::DiskSpace{1ull << 40, mb << 20, mb << 20};
  };
  const struct {
    const char* uri;
    const char* previous;  // nullptr: no baseline
    uint64_t current;
    const char* detail;
  } cases[] = {
      {"/c:10", "12000\r\n", 9800, "/cドライブの残量が9GBとなりました。"},
      {"/d:10", "9800\r\n", 9700, ""},   // stays below
      {"/e:10", "9800\r\n", 12000, ""},  // rises above
      {"/f", "12000\r\n", 100, ""},      // no threshold
      {"/g:10", nullptr, 9000, ""},      // no previous reading
  };
  int no = 0;
  for (const auto& c : cases) {
    const std::string n = std::to_string(++no);
    rig.job(n, "DRIVE", c.uri);
    if (c.previous) rig.baseline(n, c.previous);
    freeMb(std::string(c.uri).substr(0, 2), c.current);
  }
  rig.check(1, no);
  const Lines log = rig.messages();
  no = 0;
  for (const auto& c : cases) {
    const std::string n = std::to_string(++no);
    SCOPED_TRACE(c.uri);
    const bool changed = *c.detail != '\0';
    EXPECT_EQ(rig.jobValue(n, "CHECK"), changed ? "0" : "1");
    const Lines expected = changed ? Lines{"起動成功", c.detail, n + "->ドライブ残量状態更新を検出",
                                           "メール送信起動成功"}
                                   : Lines{"起動成功", n + "->OK"};
    EXPECT_EQ(evaluationLines(log, n), expected);
    // The baseline always holds the latest reading.
    EXPECT_EQ(rig.baselineNow(n), std::to_string(c.current) + "\r\n");
    EXPECT_EQ(readText(rig.path("src/" + n + ".ini.1")), c.previous ? c.previous : "<missing>");
  }
  ASSERT_EQ(rig.alerts.size(), 1u);
  EXPECT_EQ(rig.alerts[0].message, "ドライブ残量状態更新を検出");
  EXPECT_EQ(rig.alerts[0].detail, "/cドライブの残量が9GBとなりました。");
  // Still below at the next pass: no second alert.
  freeMb("/c", 9700);
  rig.check(1, 1);
  EXPECT_EQ(rig.jobValue("1", "CHECK"), "1");
  EXPECT_EQ(rig.alerts.size(), 1u);
}

}  // namespace
