// The one way to open: nothing waits on a pipe or a device, and below the
// data folder nothing is written through a symbolic link, by the kernel's
// resolution and by the step-by-step one alike.

#include "platform/open_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "platform/files.h"
#include "platform/open_beneath.h"
#include "support/temp_dir.h"

using namespace orvis::platform;
using namespace orvis::testing;

TEST(OpenFile, RefusesWhatCouldBlockAndWritesThroughLinks) {
  ::alarm(20);  // a hang fails the test instead of stopping the suite
  TempDir outside, real;
  // The data folder itself is reached through a link: the operator's choice.
  const std::string data = outside / "data/";
  ASSERT_EQ(::symlink(real.path().c_str(), (outside / "data").c_str()), 0);
  writeText(real / "file", "x");
  writeText(outside / "elsewhere/seen.txt", "outside");
  ASSERT_EQ(::mkfifo((real / "pipe").c_str(), 0644), 0);
  ASSERT_EQ(::symlink((outside / "elsewhere").c_str(), (real / "word").c_str()), 0);
  makeFolders(real / "src");
  ASSERT_EQ(::symlink((outside / "elsewhere/seen.txt").c_str(), (real / "src/lnk").c_str()), 0);
  const bool device = ::mknod((real / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
  std::vector<std::string> log;
  DataFolderGuard guard(data, [&log](const std::string& line) { log.push_back(line); });

  using R = OpenRefusal;
  struct Case {
    std::string rel;
    OpenFor purpose;
    R refusal;
  };
  std::vector<Case> cases{
      {"file", OpenFor::Writing, R::None},
      {"pipe", OpenFor::Reading, R::NotRegularFile},
      {"pipe", OpenFor::Appending, R::NotRegularFile},
      {"pipe", OpenFor::Updating, R::NotRegularFile},
      {"word/seen.txt", OpenFor::Reading, R::None},  // reads follow links
      {"word/new.txt", OpenFor::Writing, R::ThroughLink},
      {"src/lnk", OpenFor::Appending, R::ThroughLink},
      {"src//./new.txt", OpenFor::Appending, R::None},
      {"src/../../escape", OpenFor::Writing, R::OutsideFolder},
  };
  if (device) cases.push_back({"null", OpenFor::Writing, R::NotRegularFile});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rel);
    const OpenFile f = openFile(data + c.rel, c.purpose);
    EXPECT_EQ(f.refusal(), c.refusal);
    EXPECT_EQ(f.ok(), c.refusal == R::None);
    if (c.purpose == OpenFor::Reading || (c.refusal != R::None && c.refusal != R::ThroughLink))
      continue;
    // Both resolutions agree on what may be written.
    const int root = ::open(data.c_str(), O_PATH | O_DIRECTORY);
    for (bool byKernel : {true, false}) {
      const int fd = openBeneath(root, *normalizeBelow(c.rel), O_WRONLY | O_CREAT, 0644, byKernel);
      EXPECT_EQ(fd >= 0 ? 0 : errno, c.refusal == R::None ? 0 : ELOOP);
      if (fd >= 0) ::close(fd);
    }
    ::close(root);
  }

  // Every write, replacement, copy, removal and folder made takes the failed
  // path through a linked folder or at a link, and leaves the outside alone.
  EXPECT_FALSE(writeFileAtomic(data + "word/page.ini", "x"));
  EXPECT_FALSE(copyFile(data + "file", data + "word/page.ini"));
  EXPECT_FALSE(writeFileAtomic(data + "src/lnk", "x"));
  EXPECT_FALSE(appendExclusive(data + "word/20261207.txt", "line"));
  EXPECT_FALSE(makeFolders(data + "word/sub"));
  EXPECT_FALSE(removeFile(data + "word/seen.txt"));
  EXPECT_EQ(listFolder(outside / "elsewhere", "*", false), std::vector<std::string>{"seen.txt"});
  EXPECT_EQ(readText(outside / "elsewhere/seen.txt"), "outside");  // nor written into
  EXPECT_TRUE(makeFolders(data + "made/deep") && writeFileAtomic(data + "made/deep/ok.ini", "x"));
  EXPECT_TRUE(removeFile(data + "src/lnk"));  // a link itself goes as a link

  // Each refusal named once in the log, the same one not again at once.
  EXPECT_EQ(std::count(log.begin(), log.end(),
                       sj("シンボリックリンクを経由するため書き込みません:") + data + "word"),
            1);
  EXPECT_EQ(std::count(log.begin(), log.end(),
                       sj("通常のファイルではないため使いません:") + data + "pipe"),
            1);
  ::alarm(0);
}
