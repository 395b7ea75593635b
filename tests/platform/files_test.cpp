#include "platform/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ini_file.h"
#include "support/temp_dir.h"

using namespace orvis::platform;
using namespace orvis::testing;

TEST(Files, ListingIsInAscendingByteOrderAndMasked) {
  TempDir dir;
  for (const char* n : {"9.ini", "10.ini", "2.ini", "B.INI", "a.txt", ".hidden.ini"})
    writeText(dir / (std::string("info/") + n), "x");
  makeFolders(dir / "info/sub.ini");
  EXPECT_EQ(listFolder(dir / "info", "*.ini"),
            (std::vector<std::string>{".hidden.ini", "10.ini", "2.ini", "9.ini", "B.INI"}));
  EXPECT_EQ(listFolder(dir / "info", "*.ini", false).size(), 6u);
  EXPECT_TRUE(listFolder(dir / "missing", "*").empty());
  EXPECT_TRUE(wildcardMatch("????????.txt", "20261207.txt"));
  EXPECT_FALSE(wildcardMatch("????????.txt", "2026120.txt"));
  EXPECT_TRUE(wildcardMatch("*.ini", "X.INI"));
  EXPECT_TRUE(wildcardMatch("a*b?c", "aXXbYc"));
}

TEST(Files, AtomicWriteReplacesWholeFileAndLeavesNoTemporary) {
  TempDir dir;
  std::string path = dir / "ORVIS.ini";
  writeText(path, "old");
  ASSERT_TRUE(writeFileAtomic(path, "new content"));
  EXPECT_EQ(readText(path), "new content");
  EXPECT_EQ(listFolder(dir.path(), "*", false), std::vector<std::string>{"ORVIS.ini"});
  // A folder that cannot take the temporary leaves the old file as it was.
  EXPECT_FALSE(writeFileAtomic(dir / "missing/ORVIS.ini", "x"));
}

TEST(Files, ExclusiveAppendWaitsOnlyAMoment) {
  TempDir dir;
  std::string path = dir / "log.txt";
  ASSERT_TRUE(appendExclusive(path, "a"));
  ASSERT_TRUE(appendExclusive(path, "b"));
  EXPECT_EQ(readText(path), "ab");
  int fd = ::open(path.c_str(), O_RDWR);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  EXPECT_FALSE(appendExclusive(path, "c"));  // held elsewhere: fails, does not hang
  ::close(fd);
  EXPECT_EQ(readText(path), "ab");
}

TEST(Files, CopySizeTimeRemove) {
  TempDir dir;
  writeText(dir / "a", "12345");
  EXPECT_TRUE(copyFile(dir / "a", dir / "b"));
  EXPECT_EQ(fileSize(dir / "b"), 5u);
  EXPECT_FALSE(copyFile(dir / "none", dir / "c"));
  EXPECT_FALSE(fileExists(dir / "c"));
  auto t = lastWriteTime(dir / "b");
  ASSERT_TRUE(t.has_value());
  EXPECT_GE(t->year, 2020);
  EXPECT_TRUE(removeFile(dir / "b"));
  EXPECT_FALSE(removeFile(dir / "b"));
  EXPECT_EQ(fileSize(dir / "b"), std::nullopt);
  EXPECT_TRUE(makeFolders(dir / "x/y/z"));
  EXPECT_TRUE(folderExists(dir / "x/y/z"));
  EXPECT_FALSE(fileExists(dir / "x"));
  EXPECT_TRUE(pathExists(dir / "x"));
}

TEST(Files, WholeFileReadsRefuseWhatCouldBlockOrNeverEnd) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
  ASSERT_EQ(::symlink("/dev/zero", (dir / "zero").c_str()), 0);
  writeText(dir / "big", std::string(2048, 'x'));
  writeText(dir / "small", "ok");
  struct Case {
    std::string name;
    uint64_t limit;
    bool reads;
    std::string reason;  // UTF-8
  };
  for (const Case& c : std::vector<Case>{
           {"pipe", kWholeFileLimit, false, "通常のファイルではありません"},
           {"zero", kWholeFileLimit, false, "通常のファイルではありません"},
           {"big", 1024, false, "大きすぎます(2048バイト、上限1024バイト)"},
           {"big", 4096, true, ""},
           {"small", 1024, true, ""},
           {"missing", 1024, false, "No such file or directory"},
       }) {
    EXPECT_EQ(readFile(dir / c.name, c.limit).has_value(), c.reads) << c.name;
    EXPECT_EQ(unreadableReason(dir / c.name, c.limit), sj(c.reason)) << c.name;
  }
  // An INI file in place of which a pipe or a device stands reads as unreadable, at once.
  EXPECT_FALSE(loadIniFile(dir / "pipe").has_value());
  EXPECT_FALSE(loadIniFile(dir / "zero").has_value());
  // Written over, each becomes a regular file; the device is not written into.
  for (const char* name : {"pipe", "zero"}) {
    ASSERT_TRUE(writeFileAtomic(dir / name, "[COMMON]\r\n"));
    EXPECT_EQ(readText(dir / name), "[COMMON]\r\n");
  }
  // A copy replaces its target whole and leaves no temporary file behind.
  writeText(dir / "target", "old");
  ASSERT_TRUE(copyFile(dir / "big", dir / "target"));
  EXPECT_EQ(readText(dir / "target"), std::string(2048, 'x'));
  EXPECT_FALSE(copyFile(dir / "missing", dir / "target"));
  EXPECT_EQ(listFolder(dir.path(), ".*", false), std::vector<std::string>{});
}

TEST(Files, TemporariesLeftByACrashGoOnceTheyAreOld) {
  TempDir dir;
  for (const char* name :
       {".ORVIS.ini.Ab3dEf", ".ORVIS.ini.young1", ".bashrc.backup", ".x.ini.a-b_cd", "ORVIS.ini"})
    writeText(dir / name, "x");
  const struct timespec old[2] = {{1700000000, 0}, {1700000000, 0}};
  for (const char* name : {".ORVIS.ini.Ab3dEf", ".bashrc.backup", ".x.ini.a-b_cd"})
    ::utimensat(AT_FDCWD, (dir / name).c_str(), old, 0);
  EXPECT_EQ(removeLeftTemporaries(dir.path(), "ORVIS.ini", 600),
            std::vector<std::string>{dir / ".ORVIS.ini.Ab3dEf"});
  EXPECT_EQ(removeLeftTemporaries(dir.path(), "*", 600),
            std::vector<std::string>{dir / ".bashrc.backup"});
  EXPECT_EQ(listFolder(dir.path(), "*").size(), 3u);
}
