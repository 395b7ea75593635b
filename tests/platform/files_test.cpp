#include "platform/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

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
