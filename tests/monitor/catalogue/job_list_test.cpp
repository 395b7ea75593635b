// Loading the job files into the table and the grid.

#include <gtest/gtest.h>

#include "monitor/catalogue/job_files.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "support/check_rig.h"

using namespace orvis;
using namespace orvis::testing;

TEST(JobList, AHandWrittenFileLoadsWithEveryDefault) {
  MonitorRig rig;
  rig.writeJob("7", {"NO=7", "URI=http://example.com/"});
  rig.start();
  const JobTable& t = rig.monitor->jobs();
  ASSERT_EQ(t.size(), 1u);
  const JobRecord& r = t[0];
  EXPECT_EQ(r.number, "7");
  EXPECT_EQ(r.target, "http://example.com/");
  EXPECT_EQ(r.name, "");
  EXPECT_EQ(r.type.text(), "URL");
  EXPECT_EQ(r.result, JobResult::NotChecked);
  EXPECT_EQ(r.baseline, BaselineState::Missing);
  EXPECT_EQ(r.word, "");
  EXPECT_EQ(r.mailGroup, "0");
  int n = 0;
  for (const StoredValue<Switch>* flag :
       {&r.useProxy, &r.ownMail, &r.htmlMail, &r.ownCompareRules, &r.compareContent,
        &r.ignoreScript, &r.ignoreComment, &r.ignoreLinks, &r.ignoreSrc, &r.ignoreAlt,
        &r.ignoreHead, &r.wordCheck, &r.includeSubfolders})
    EXPECT_EQ(flag->text(), "0") << n++;
  EXPECT_TRUE(rig.prompter.questions().empty());
}

TEST(JobList, ResultAndBaselineStatesMapOnLoad) {
  MonitorRig rig;
  const std::pair<const char*, const char*> checks[] = {
      {"1", "1"}, {"0", "0"}, {"R", "-"}, {"", "-"}, {"x", "-"}};
  int n = 0;
  for (auto [stored, shown] : checks) {
    std::string no = std::to_string(n++);
    rig.writeJob(no, {"NO=" + no, std::string("CHECK=") + stored, std::string("SOURCE=") + stored});
  }
  rig.start();
  const JobTable& t = rig.monitor->jobs();
  for (size_t i = 0; i < t.size(); ++i) {
    EXPECT_STREQ(resultCode(t[i].result), checks[i].second) << i;
    EXPECT_STREQ(baselineCode(t[i].baseline), std::string(checks[i].first) == "1" ? "1" : "-") << i;
  }
}

TEST(JobList, AValueReadAsAFailureGivesItsMessageAndTheDefault) {
  MonitorRig rig;
  rig.writeJob("1", {"NO=1", "CHKWORD=1"});
  rig.writeJob("2", {"NO=2", "NAME=retry", "CHKHIKAKU=retry"});
  rig.start();
  const JobTable& t = rig.monitor->jobs();
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].wordCheck, Switch::On);
  EXPECT_EQ(t[1].name, "");
  EXPECT_EQ(t[1].compareContent.text(), "0");
  EXPECT_EQ(rig.prompter.texts(),
            (std::vector<std::string>{"Access fail to inifile.", "Access fail to inifile."}));
}

TEST(JobList, LoadOrderIsAscendingByteOrderOfTheFileNames) {
  MonitorRig rig;
  for (const char* no : {"2", "10", "9"}) rig.writeJob(no, {std::string("NO=") + no});
  rig.start();
  const JobTable& t = rig.monitor->jobs();
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].number, "10");
  EXPECT_EQ(t[1].number, "2");
  EXPECT_EQ(t[2].number, "9");
  EXPECT_EQ(rig.grid.cell(1, 0), "10");
  EXPECT_EQ(rig.grid.cell(3, 0), "9");
}

TEST(JobList, TheGridStopsAtABadMailGroup) {
  MonitorRig rig;
  rig.writeJob("1", {"NO=1", "MAILGROUP=2", "USEPROXY=1", "CHKWORD=1", "TYPE=FILE"});
  rig.writeJob("2", {"NO=2", "MAILGROUP=-1"});
  rig.writeJob("3", {"NO=3", "MAILGROUP=x", "USEUSERMAIL=1"});
  rig.writeJob("4", {"NO=4"});
  rig.start();
  EXPECT_EQ(rig.grid.rows(), 5);
  EXPECT_EQ(rig.grid.cell(1, 4), "3");
  EXPECT_EQ(rig.grid.cell(1, 5), sj("○"));
  EXPECT_EQ(rig.grid.cell(1, 10), sj("○"));
  EXPECT_EQ(rig.grid.cell(1, 9), "");
  EXPECT_EQ(rig.grid.cell(1, 11), "FILE");
  EXPECT_EQ(rig.grid.cell(2, 4), "0");
  // Row 3 is filled up to its group column, which stays empty; row 4 not at all.
  EXPECT_EQ(rig.grid.cell(3, 0), "3");
  EXPECT_EQ(rig.grid.cell(3, 2), sj("○"));
  EXPECT_EQ(rig.grid.cell(3, 4), "");
  EXPECT_EQ(rig.grid.cell(3, 11), "");
  EXPECT_EQ(rig.grid.cell(4, 0), "");
  auto log = rig.log();
  EXPECT_NE(std::find(log.begin(), log.end(), "(OrvisWatch),ListDisp():異常終了"), log.end());
}

TEST(JobList, AnEmptyFolderShowsOneEmptyRow) {
  MonitorRig rig;
  rig.shell.status[0] = "old";
  rig.start();
  EXPECT_EQ(rig.grid.rows(), 2);
  EXPECT_EQ(rig.grid.cell(1, 0), "");
  EXPECT_EQ(rig.shell.statusText(0), "");
  EXPECT_TRUE(platform::folderExists(rig.path("info")));
}

TEST(JobList, EachCellIsDrawnAsItsValueSays) {
  MonitorRig rig;
  rig.writeJob("1", {"NO=1", "NAME=" + std::string("重要"), "CHECK=0", "SOURCE=1"});
  rig.writeJob("2", {"NO=2", "NAME=a", "CHECK=1"});
  rig.start();
  JobList& list = rig.monitor->jobList();
  using P = CellLook::Picture;
  CellLook header = list.cellLook(0, 3, false);
  EXPECT_EQ(header.background, 0x0000FFu);
  EXPECT_EQ(header.textColor, 0xFFFFFFu);
  CellLook pink = list.cellLook(1, 6, false);
  EXPECT_EQ(pink.background, 0xFFD9ECu);
  EXPECT_EQ(pink.list, P::None);
  CellLook changed = list.cellLook(1, 7, false);
  EXPECT_EQ(changed.list, P::Result);
  EXPECT_EQ(changed.picture, 4);
  CellLook baseline = list.cellLook(1, 8, false);
  EXPECT_EQ(baseline.picture, 1);
  CellLook mark = list.cellLook(1, 1, false);
  EXPECT_EQ(mark.list, P::Mark);
  EXPECT_EQ(mark.picture, 0);
  CellLook ok = list.cellLook(2, 7, false);
  EXPECT_EQ(ok.background, 0xFFFFECu);
  EXPECT_EQ(ok.picture, 1);
  EXPECT_EQ(list.cellLook(2, 8, false).list, P::None);  // "-" is drawn as text
  CellLook selected = list.cellLook(1, 6, true);
  EXPECT_EQ(selected.background, 0x000080u);  // selection wins over pink
  EXPECT_EQ(selected.textColor, 0xFFFFFFu);
  // A retry pending during a pass.
  const_cast<JobTable&>(rig.monitor->jobs())[1].result = JobResult::NoResponse;
  EXPECT_EQ(list.cellLook(2, 7, false).picture, 6);
}

TEST(JobList, ValuesOutsideTheirSetAreShownAndPassedOnAsStored) {
  MonitorRig rig;
  rig.writeJob("1", {"NO=1", "TYPE=ftp", "CHKWORD=yes", "USEPROXY=1"});
  rig.writeJob("2", {"NO=2", "URI=http://x/", "USEPROXY=2"});
  rig.start();
  const JobTable& t = rig.monitor->jobs();
  ASSERT_EQ(t.size(), 2u);
  EXPECT_FALSE(t[0].type.known());
  EXPECT_NE(t[0].wordCheck, Switch::On);
  EXPECT_EQ(rig.grid.cell(1, 11), "ftp");
  EXPECT_EQ(rig.grid.cell(1, 10), "");
  EXPECT_EQ(rig.grid.cell(1, 5), sj("○"));
  EXPECT_EQ(rig.grid.cell(2, 5), "");
  // The type is named in the log as stored; a proxy value other than "1"
  // goes to the fetcher as "0".
  EXPECT_FALSE(rig.monitor->acquisition().acquireSnapshot(0));
  auto log = rig.log();
  EXPECT_NE(std::find(log.begin(), log.end(), "(OrvisWatch),1->チェックタイプが不明です->ftp"),
            log.end());
  rig.monitor->acquisition().acquireSnapshot(1);
  ASSERT_EQ(rig.launcher.launches.size(), 1u);
  EXPECT_EQ(
      rig.launcher.launches[0].commandLine.substr(rig.launcher.launches[0].commandLine.size() - 2),
      " 0");
}

TEST(JobList, ARecordWritesBackTheTextsItWasLoadedFrom) {
  MonitorRig rig;
  const std::vector<std::string> lines = {"NO=5",         "URI=/srv",      "NAME=files",
                                          "USEPROXY=yes", "USEUSERMAIL=1", "USERMAILHTML=0",
                                          "MAILGROUP=x",  "CHKKOBETSU=2",  "CHKHIKAKU=1",
                                          "CHKSCRIPT=0",  "CHKCOMMENT=0",  "CHKREF=0",
                                          "CHKSRC=0",     "CHKALT=0",      "CHKHEAD=0",
                                          "CHKWORD=-1",   "WORD=w",        "CHKSUBFOLDER=1",
                                          "TYPE=ftp",     "SOURCE=",       "CHECK="};
  rig.writeJob("5", lines);
  const std::string stored = readText(rig.path("info/5.ini"));
  rig.start();
  ASSERT_EQ(rig.monitor->jobs().size(), 1u);
  platform::removeFile(rig.path("info/5.ini"));
  JobFiles files(rig.monitor->services().ini, rig.dir.path());
  EXPECT_EQ(files.create(rig.monitor->jobs()[0]), "");
  EXPECT_EQ(readText(rig.path("info/5.ini")), stored);
}

// SOURCE and CHECK go into the file a job was loaded from, and never make a
// job file; names that are not UTF-8 and files without a number are logged.
TEST(JobFileWrites, GoToTheLoadedFileAndNeverMakeOne) {
  const struct {
    std::string file;       // in info/; "2.ini" holds no NO
    bool capture, removed;  // removed while the page is fetched
    std::string after;      // what the job file or the log holds afterwards
  } cases[] = {
      {"job1.ini", true, false, "SOURCE=1"},
      {"job1.ini", false, false, "CHECK=1"},
      {"1.ini", true, true, "1->ジョブファイルがないため書き込みません:SOURCE=1,"},
      {"1.ini", false, true, "1->ジョブファイルがないため書き込みません:CHECK=1,"},
      {"\x93\xfa.ini", false, false, "info/日.iniはファイル名がUTF-8ではないため読み込みません。"},
      {"2.ini", false, false, "info/2.iniにNOがありません。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.after);
    CheckRig rig;
    const std::string file = rig.path("info/" + c.file);
    writeText(file, std::string("[COMMON]\r\n") + (c.file == "2.ini" ? "" : "NO=1\r\nURI=u\r\n") +
                        (c.capture ? "" : "SOURCE=1\r\n"));
    rig.baseline("1", rig.pages["u"] = "abc");
    rig.launcher.onWait = [&] {
      if (c.removed) platform::removeFile(file);
    };
    rig.start();
    rig.grid.top = rig.grid.bottom = 1;
    rig.monitor->jobList().selectCell(0, 1);
    c.capture ? (void)rig.monitor->capture().captureSelectedJobs() : (void)rig.check(1, 1);
    EXPECT_EQ(platform::listFolder(rig.path("info/"), "*"),
              c.removed ? std::vector<std::string>{} : std::vector<std::string>{c.file});
    std::string seen = platform::readFile(file).value_or("");
    for (const std::string& line : rig.log()) seen += line + "\n";
    EXPECT_NE(seen.find(c.after), std::string::npos);
  }
}
