// The check of each job type on real snapshot and baseline files: results
// in the job files, log lines, alert mails, baselines and generations.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <functional>

#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "support/check_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

using Lines = std::vector<std::string>;

// The lines logged for job `no` after the three that open its check and the
// ten that name its rules, up to the next job or the end of the pass.
Lines evaluationLines(const Lines& log, const std::string& no) {
  auto from = std::find(log.begin(), log.end(), no + "->チェック開始");
  if (log.end() - from < 13) return {};
  auto to = std::find_if(from + 1, log.end(), [](const std::string& l) {
    return l.ends_with("->チェック開始") || l == "Global,情報収集";
  });
  return Lines(from + 13, to);
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
  rig.pages = {{"http://a/", "abd"}, {"http://b/", "abd"}};
  rig.check(1, 2);
  const Lines log = rig.newMessages();
  auto second = std::find(log.begin(), log.end(), "2->チェック開始");
  ASSERT_GE(log.end() - second, 13);
  EXPECT_EQ(Lines(log.begin() + 1, log.begin() + 14),
            (Lines{"1->チェック開始", "1チェックタイプ->URL", "1->チェック対象->http://a/",
                   "1->基本設定でチェックします。", "1->SOURCE_CHECK:YES", "1->SCRIPT_IGNORE:YES",
                   "1->COMMENT_IGNORE:", "1->HREF_IGNORE:", "1->SRC_IGNORE:", "1->ALT_IGNORE:",
                   "1->HEAD_IGNORE:yes", "1->WORD_CHECK:YES", "1->WORD:x"}));
  EXPECT_EQ(Lines(second + 3, second + 13),
            (Lines{"2->個別設定でチェックします。", "2->SOURCE_CHECK:YES", "2->SCRIPT_IGNORE:NO",
                   "2->COMMENT_IGNORE:NO", "2->HREF_IGNORE:YES", "2->SRC_IGNORE:NO",
                   "2->ALT_IGNORE:NO", "2->HEAD_IGNORE:NO", "2->WORD_CHECK:NO", "2->WORD:"}));
  EXPECT_EQ(platform::toUtf8(rig.shell.busyMessage), "№2のサーバーと通信中・・");
  // The standard source check is on unless ORVIS.ini says "NO".
  for (const char* setting : {"SOURCE_CHECK=NO", "SOURCE_CHECK=", ""}) {
    writeText(rig.path("ORVIS.ini"), std::string("[COMMON]\r\n") + setting + "\r\n");
    rig.baseline("1", "abc");
    rig.check(1, 1);
    const Lines lines = rig.newMessages();
    const bool compared = std::string(setting) != "SOURCE_CHECK=NO";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), compared ? "1->比較エラー" : "1->RES OK"), 1);
  }
}

// One job of a type against its baseline. In the texts "%" stands for the
// job's number.
struct Case {
  const char* type;
  std::string uri;
  Lines keys;  // more lines of the job file
  std::optional<std::string> baseline;
  std::string snapshot;  // the page; the free megabytes of a DRIVE job
  bool changed;
  Lines lines;  // logged after "起動成功"
  std::string alert, detail;
};

const std::string kProcesses =
    "000001 000000 init\r\n004321 000001 NOTEPAD.EXE\r\n005000 000001 bash\r\n";
const std::string kScript = "x<script>var a=1;</script>y",
                  kScript2 = "x<script>var b=22;</script>y";
const Lines kOwn{"CHKKOBETSU=1", "CHKHIKAKU=1"};
const Lines kWordOnly{"CHKKOBETSU=1", "CHKHIKAKU=0", "CHKWORD=1"};
const std::string kMailed = "メール送信起動成功", kCompareError = "%->比較エラー";

const Case kCases[] = {
    {"URL",
     "http://p/1",
     kOwn,
     "abc",
     "abd",
     true,
     {"not same code.src counter=3(1 origin)", "SRC(元  ファイル)=c", "CHK(取得ファイル)=d", "",
      "更新検出個所:abc", "", kMailed, kCompareError},
     "HTMLソース比較エラーを検出",
     "abc"},
    {"URL", "http://p/2", kOwn, "abc", "abcdef", false, {"Good code.", "%->OK"}, "", ""},
    {"URL",
     "http://p/3",
     kOwn,
     "abcdef",
     "abc",
     true,
     {"比較サイズが異なります。", kMailed, kCompareError},
     "比較サイズが異なります。",
     ""},
    {"URL",
     "http://p/4",
     {"CHKKOBETSU=1", "CHKHIKAKU=1", "CHKSCRIPT=1"},
     kScript,
     kScript2,
     false,
     {"## SCRIPTタグに入りました。データスキップします。", "## SCRIPTタグから抜けました。",
      "Good code.", "%->OK"},
     "",
     ""},
    {"URL",
     "http://p/5",
     kOwn,
     kScript,
     kScript2,
     true,
     {"not same code.src counter=14(1 origin)", "SRC(元  ファイル)=a", "CHK(取得ファイル)=b", "",
      "更新検出個所:x<script>var a", "", kMailed, kCompareError},
     "HTMLソース比較エラーを検出",
     "x<script>var a"},
    {"URL",
     "http://p/6",
     kOwn,
     std::nullopt,
     "new",
     true,
     {"source file invalid.", kMailed, kCompareError},
     "ソースファイルがゼロバイトです。",
     ""},
    // The word is found only where a character starts: "潟" ends with the
    // byte that "ア" begins with, and "A" is the other.
    {"URL",
     "http://p/7",
     {"CHKKOBETSU=1", "CHKHIKAKU=0", "CHKWORD=1", "WORD=ア"},
     "-",
     sj("<p>アイ</p>"),
     false,
     {"%->ワードチェック開始 WORD=ア", "%->指定ワード検出", kMailed, "%->ワードチェック終了",
      "%->RES OK"},
     "指定ワードを検出",
     "ア"},
    {"URL",
     "http://p/8",
     {"CHKKOBETSU=1", "CHKHIKAKU=0", "CHKWORD=1", "WORD=ア"},
     "-",
     sj("<p>潟A</p>"),
     false,
     {"%->ワードチェック開始 WORD=ア", "%->ワードチェック終了", "%->RES OK"},
     "",
     ""},
    {"URL",
     "http://p/9",
     {"CHKKOBETSU=1", "CHKHIKAKU=0", "CHKWORD=1"},
     "-",
     "page",
     false,
     {"%->ワードチェック開始 WORD=", "%->ワードチェック終了", "%->RES OK"},
     "",
     ""},
    {"PROC",
     "notepad.exe",
     {},
     "000001 000000 init\r\n",
     kProcesses,
     true,
     {"notepad.exeが起動しました。", "%->プロセス状態更新を検出", kMailed},
     "プロセス状態更新を検出",
     "notepad.exeが起動しました。"},
    {"PROC",
     "sshd",
     {},
     "000001 000000 init\r\n000100 000001 sshd\r\n",
     kProcesses,
     true,
     {"sshdが終了しました。", "%->プロセス状態更新を検出", kMailed},
     "プロセス状態更新を検出",
     "sshdが終了しました。"},
    // A name of digits is never found in a process number.
    {"PROC", "4321", {}, "000001 000000 init\r\n", kProcesses, false, {"%->OK"}, "", ""},
    {"PROC", "4321", {}, "004321 000001 NOTEPAD.EXE\r\n", kProcesses, false, {"%->OK"}, "", ""},
    {"PROC", "BASH", {}, "005000 000001 bash\r\n", kProcesses, false, {"%->OK"}, "", ""},
    {"PROC",
     "bash",
     {},
     std::nullopt,
     kProcesses,
     true,
     {"bashが起動しました。", "%->プロセス状態更新を検出", kMailed},
     "プロセス状態更新を検出",
     "bashが起動しました。"},
    {"DRIVE",
     "/c:10",
     {},
     "12000\r\n",
     "9800",
     true,
     {"/cドライブの残量が9GBとなりました。", "%->ドライブ残量状態更新を検出", kMailed},
     "ドライブ残量状態更新を検出",
     "/cドライブの残量が9GBとなりました。"},
    {"DRIVE", "/d:10", {}, "9800\r\n", "9700", false, {"%->OK"}, "", ""},    // stays below
    {"DRIVE", "/e:10", {}, "9800\r\n", "12000", false, {"%->OK"}, "", ""},   // rises above
    {"DRIVE", "/f", {}, "12000\r\n", "100", false, {"%->OK"}, "", ""},       // no threshold
    {"DRIVE", "/g:10", {}, std::nullopt, "9000", false, {"%->OK"}, "", ""},  // no reading yet
};

TEST(JobCheck, EveryTypeAgainstItsBaseline) {
  CheckRig rig;
  rig.processes.entries = {{1, 0, "init"}, {4321, 1, "NOTEPAD.EXE"}, {5000, 1, "bash"}};
  rig.disks.anyPath.reset();
  // Two digits: the job files load in the order of their names.
  auto number = [](int i) { return (i < 10 ? "0" : "") + std::to_string(i); };
  int no = 0;
  for (const Case& c : kCases) {
    const std::string n = number(++no);
    rig.job(n, c.type, c.uri, c.keys);
    if (c.baseline) rig.baseline(n, *c.baseline);
    if (std::string(c.type) == "URL") rig.pages[c.uri] = c.snapshot;
    const uint64_t mb = platform::parseInt(c.snapshot).value_or(0);
    if (std::string(c.type) == "DRIVE")
      rig.disks.disks[c.uri.substr(0, 2)] = {1ull << 40, mb << 20};
  }
  rig.check(1, no);
  const Lines log = rig.messages();
  std::vector<std::pair<std::string, std::string>> alerts;
  no = 0;
  for (const Case& c : kCases) {
    const std::string n = number(++no);
    SCOPED_TRACE(c.uri);
    Lines expected{"起動成功"};
    for (const std::string& line : c.lines) expected.push_back(platform::replaceAll(line, "%", n));
    EXPECT_EQ(evaluationLines(log, n), expected);
    EXPECT_EQ(rig.jobValue(n, "CHECK"), c.changed ? "0" : "1");
    // A change, and every DRIVE reading, moves the snapshot into the
    // baseline and the old baseline into the first generation.
    const bool drive = std::string(c.type) == "DRIVE", moved = c.changed || drive;
    const std::string snapshot = drive ? c.snapshot + "\r\n" : c.snapshot;
    EXPECT_EQ(rig.baselineNow(n), moved ? snapshot : c.baseline.value_or("<missing>"));
    EXPECT_EQ(readText(rig.path("src/" + n + ".ini.1")),
              moved && (c.baseline || std::string(c.type) == "URL") ? c.baseline.value_or("")
                                                                    : "<missing>");
    if (std::find(c.keys.begin(), c.keys.end(), "CHKWORD=1") != c.keys.end()) {
      EXPECT_EQ(readText(rig.path("word/" + n + ".ini")), c.snapshot);
    }
    if (!c.alert.empty()) alerts.emplace_back(c.alert, c.detail);
  }
  std::vector<std::pair<std::string, std::string>> raised;
  for (const RaisedAlert& a : rig.alerts) raised.emplace_back(a.message, a.detail);
  EXPECT_EQ(raised, alerts);
  // The gauge went up for each compared baseline with bytes, and down again.
  EXPECT_EQ(rig.shell.compareGaugeShows, 5);
  EXPECT_FALSE(rig.shell.compareGauge);
  EXPECT_FALSE(platform::pathExists(rig.path("temp/srctemp.txt")));
}

TEST(JobCheck, FolderChangesFileByFile) {
  CheckRig rig;
  const std::string f = rig.path("target");
  const time_t t0 = 1765000000, t1 = t0 + 3600;
  writeAt(f + "/a.txt", t0);
  writeAt(f + "/b.txt", t0);
  rig.job("1", "FILE", f);
  const std::string first = rig.listing(f);
  rig.baseline("1", first);
  auto renamed = [&](const char* from, const char* to) {
    return [=] { std::rename((f + from).c_str(), (f + to).c_str()); };
  };
  auto updated = [&](const char* file, time_t from, time_t to) {
    return "[更新][" + stamp(from) + "]->[" + stamp(to) + "] " + f + file;
  };
  auto deleted = [&](const char* file, time_t t) {
    return "[削除][" + stamp(t) + "]->[N/A] " + f + file;
  };
  auto added = [&](const char* file, time_t t) {
    return "[追加][N/A]->[" + stamp(t) + "] " + f + file;
  };
  const struct {
    std::function<void()> change;
    Lines entries;
  } steps[] = {
      {[&] { writeAt(f + "/a.txt", t1); }, {updated("/a.txt", t0, t1)}},
      {[] {}, {}},
      {[&] {
         platform::removeFile(f + "/b.txt");
         writeAt(f + "/c.txt", t0);
       },
       {deleted("/b.txt", t0), added("/c.txt", t0)}},
      {renamed("/c.txt", "/d.txt"), {deleted("/c.txt", t0), added("/d.txt", t0)}},
      // A path is never taken for a longer one that starts with it.
      {renamed("/a.txt", "/a.txt.bak"), {deleted("/a.txt", t1), added("/a.txt.bak", t1)}},
      {[&] { writeAt(f + "/a.txt", t0); }, {added("/a.txt", t0)}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.entries.empty() ? "nothing" : step.entries.front());
    const size_t alerts = rig.alerts.size();
    step.change();
    rig.check(1, 1);
    Lines expected{"起動成功"};
    expected.insert(expected.end(), step.entries.begin(), step.entries.end());
    const Lines end = step.entries.empty() ? Lines{"1->OK"}
                                           : Lines{"1->ファイル更新を検出", "メール送信起動成功"};
    expected.insert(expected.end(), end.begin(), end.end());
    EXPECT_EQ(evaluationLines(rig.newMessages(), "1"), expected);
    EXPECT_EQ(rig.jobValue("1", "CHECK"), step.entries.empty() ? "1" : "0");
    std::string detail;
    for (const auto& e : step.entries) detail += e + "\r\n";
    ASSERT_EQ(rig.alerts.size(), alerts + (step.entries.empty() ? 0 : 1));
    if (!detail.empty()) {
      EXPECT_EQ(rig.alerts.back().detail, detail);
    }
  }
  // Every change moved the baseline on; the first one is the oldest generation.
  EXPECT_EQ(readText(rig.path("src/1.ini.5")), first);
  EXPECT_EQ(rig.baselineNow("1"), rig.listing(f));
}

}  // namespace
