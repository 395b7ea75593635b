// Inputs nobody should hand the monitor, and that a monitor left alone for
// months meets all the same: pipes and devices in place of its files, a
// hand-edited settings file, a huge job file, a folder that goes while it is
// listed, a full disk. Each one: no hang, no crash, and a log line (or, with
// no room for the log, a line on the standard error) that says what
// happened.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "monitor/engine/file_listing.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/ini_file.h"
#include "support/check_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

bool logged(const std::vector<std::string>& log, const std::string& part) {
  return std::any_of(log.begin(), log.end(),
                     [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

}  // namespace

TEST(HostileInputs, PipesDevicesAndRepeatedSectionsInPlaceOfTheSettingsNeitherHangNorCrash) {
  struct Case {
    const char* what;
    std::function<void(MonitorRig&)> lay;
    std::function<std::string(MonitorRig&)> line;  // a part of the log line, UTF-8
  };
  auto pipe = [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); };
  auto zero = [](const std::string& path) { ASSERT_EQ(::symlink("/dev/zero", path.c_str()), 0); };
  auto unusable = [](MonitorRig& r, const std::string& rel) {
    return "INIファイルにアクセスできません:" + r.path(rel) + ",通常のファイルではありません";
  };
  const std::vector<Case> cases{
      {"settings file a pipe", [&](MonitorRig& r) { pipe(r.path("ORVIS.ini")); },
       [&](MonitorRig& r) { return unusable(r, "ORVIS.ini"); }},
      {"settings file a link to /dev/zero", [&](MonitorRig& r) { zero(r.path("ORVIS.ini")); },
       [&](MonitorRig& r) { return unusable(r, "ORVIS.ini"); }},
      {"mode file a pipe", [&](MonitorRig& r) { pipe(r.path("Mode.tmp")); },
       [&](MonitorRig& r) { return unusable(r, "Mode.tmp"); }},
      {"job files a pipe and a link to /dev/zero",
       [&](MonitorRig& r) {
         pipe(r.path("info/2.ini"));
         zero(r.path("info/3.ini"));
       },
       [](MonitorRig& r) {
         return "Global," + r.path("info/3.ini") + "は通常のファイルではないため読み込みません。";
       }},
      {"a section twice, keys in other case",
       [](MonitorRig& r) {
         writeText(r.path("ORVIS.ini"),
                   "[common]\r\ncheckinterval=7\r\n[MAIL]\r\nX=1\r\n[COMMON]\r\nCHECKINTERVAL=9\r\n"
                   "ValidDay=4\r\n");
       },
       [](MonitorRig& r) {
         return r.path("ORVIS.ini") +
                ":[common]が2回あります。各キーは最初に見つかった値を使います。";
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MonitorRig rig({"OrvisWatchService"});
    writeText(rig.path("info/1.ini"), "[COMMON]\r\nNO=1\r\nURI=http://a/\r\nSOURCE=1\r\n");
    c.lay(rig);
    rig.start();
    const std::vector<std::string> log = rig.log();
    EXPECT_TRUE(logged(log, c.line(rig))) << c.line(rig);
    EXPECT_EQ(rig.grid.cell(1, 0), "1");  // the job that is there was loaded
  }
  // The repeated section: each key's first value, wherever it stands.
  MonitorRig rig({"OrvisWatchService"});
  writeText(rig.path("ORVIS.ini"),
            "[common]\r\ncheckinterval=7\r\n[COMMON]\r\nCHECKINTERVAL=9\r\nValidDay=4\r\n");
  rig.start();
  EXPECT_EQ(rig.monitor->settings().current().checkInterval, 7);
  EXPECT_EQ(rig.monitor->settings().current().validDay, "4");
}

TEST(HostileInputs, AJobFileOfTenMegabytesIsCheckedInItsTurn) {
  CheckRig rig;
  std::string filler;
  while (filler.size() < (10u << 20))
    filler += "NOTE" + std::to_string(filler.size()) + "=" + std::string(100, 'n') + "\r\n";
  writeText(rig.path("info/1.ini"),
            "[COMMON]\r\nNO=1\r\nURI=http://a/\r\nTYPE=URL\r\nSOURCE=1\r\n" + filler +
                "CHKWORD=1\r\nWORD=abc\r\n");
  rig.baseline("1", "abc");
  rig.pages["http://a/"] = "abc";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(rig.check(1, 1), CheckPass::End::Completed);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const std::vector<std::string> log = rig.messages();
  EXPECT_TRUE(logged(log, "1->指定ワード検出"));
  EXPECT_TRUE(logged(log, "1->OK"));
  EXPECT_EQ(rig.jobValue("1", "CHECK"), "1");
  std::printf("a pass over a job file of %zu bytes: %.2f s\n", filler.size(), seconds);
}

TEST(HostileInputs, PagesWithANulAndBytesOfNoCharacterAreComparedByteForByte) {
  CheckRig rig;
  const char same[] = "<p>a\0b \xff\xfe \xe3\x81</p>\r\n",
             changed[] = "<p>a\0c \xff\xfe \xe3\x81</p>\r\n";
  const std::string page(same, sizeof same - 1);
  rig.job("1", "URL", "http://a/", {"CHKWORD=1", "WORD=b"});
  rig.job("2", "URL", "http://b/");
  rig.baseline("1", page);
  rig.baseline("2", page);
  rig.pages = {{"http://a/", page}, {"http://b/", std::string(changed, sizeof changed - 1)}};
  EXPECT_EQ(rig.check(1, 2), CheckPass::End::Completed);
  EXPECT_EQ(rig.jobValue("1", "CHECK"), "1");
  EXPECT_EQ(rig.jobValue("2", "CHECK"), "0");  // the change after the NUL is seen
  EXPECT_TRUE(logged(rig.messages(), "1->指定ワード検出"));
  EXPECT_EQ(rig.baselineNow("2"), std::string(changed, sizeof changed - 1));
}

TEST(HostileInputs, AFolderThatGoesWhileItIsListedEndsTheListingAndIsReportedAsDeleted) {
  CheckRig rig;
  const std::string target = rig.path("target");
  for (int d = 0; d < 4; ++d)
    for (int f = 0; f < 50; ++f)
      writeText(target + "/d" + std::to_string(d) + "/f" + std::to_string(f) + ".txt", "x");
  const platform::StopFlag never;
  const std::string whole = *FileListing(rig.folder(), rig.pump, never).list(target, true);
  // Gone after the second sub-folder: the listing ends with what was there.
  int pumps = 0;
  rig.pump.onPump([&] {
    if (++pumps == 3) std::filesystem::remove_all(target);
  });
  auto text = FileListing(rig.folder(), rig.pump, never, 0).list(target, true);
  ASSERT_TRUE(text.has_value());
  EXPECT_GE(pumps, 3);
  EXPECT_LT(text->size(), whole.size());
  // The pass that finds it gone reports its files deleted, and goes on.
  rig.pump.onPump([] {});
  rig.job("1", "FILE", target, {"CHKSUBFOLDER=1"});
  rig.baseline("1", whole);
  EXPECT_EQ(rig.check(1, 1), CheckPass::End::Completed);
  ASSERT_EQ(rig.alerts.size(), 1u);
  EXPECT_EQ(rig.alerts[0].message, "ファイル更新を検出");
  EXPECT_TRUE(logged(rig.messages(), "[削除]"));
}

TEST(HostileInputs, AFullDiskKeepsTheOldFilesWholeAndTheStandardErrorSaysWhy) {
  TempDir outside;
  const std::string mount = outside / "small/";
  platform::makeFolders(mount);
  if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=512k") != 0)
    GTEST_SKIP() << "no small file system to fill (needs root)";
  std::string err;
  {
    CheckRig rig({"OrvisWatchService"}, mount);
    rig.job("1", "URL", "http://a/");
    rig.baseline("1", "old page");
    rig.pages["http://a/"] = "new page";
    rig.check(1, 1);  // starts the monitor, then the disk fills up
    rig.pages["http://a/"] = "newer page";
    {
      const int fd = ::open((mount + "filler").c_str(), O_WRONLY | O_CREAT, 0644);
      const std::string block(4096, 'f');
      while (::write(fd, block.data(), block.size()) > 0) {
      }
      ::close(fd);
    }
    // The lines that find no room go to the standard error.
    const int saved = ::dup(STDERR_FILENO);
    const int capture = ::open((outside / "stderr.txt").c_str(), O_WRONLY | O_CREAT, 0644);
    ::dup2(capture, STDERR_FILENO);
    rig.check(1, 1);
    ::dup2(saved, STDERR_FILENO);
    ::close(capture);
    ::close(saved);
    err = readText(outside / "stderr.txt");       // UTF-8, as the journal reads it
    EXPECT_EQ(rig.jobValue("1", "SOURCE"), "1");  // the job file whole
    const std::string baseline = rig.baselineNow("1");
    EXPECT_TRUE(baseline == "new page" || baseline == "newer page") << baseline;
  }
  ::umount2(mount.c_str(), MNT_DETACH);
  EXPECT_NE(err.find("書き込めません(No space left on device)"), std::string::npos) << err;
  std::printf("standard error on the full disk:\n%s", err.substr(0, 600).c_str());
}
