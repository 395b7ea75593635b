// The job file and the job's mail files, byte for byte.

#include "monitor/catalogue/job_files.h"

#include <gtest/gtest.h>

#include "platform/codec.h"
#include "platform/files.h"
#include "support/services_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {
JobRecord sample() {
  JobRecord j;
  j.number = "12";
  j.target = "http://example.com/";
  j.name = sj("監視ページ");
  j.useProxy = Switch::On;
  j.mailGroup = "1";
  j.ownCompareRules = Switch::On;
  j.compareContent = Switch::On;
  j.ignoreScript = Switch::On;
  j.wordCheck = Switch::On;
  j.word = sj("障害");
  return j;
}
JobMail sampleMail() { return {sj("件名"), {sj("本文1"), "", "%diff"}}; }
}  // namespace

TEST(JobFiles, ANewJobFileByteForByte) {
  ServicesRig rig;
  JobFiles files(rig.services.ini, rig.dir.path());
  JobRecord j = sample();
  EXPECT_EQ(files.create(j), "");
  EXPECT_EQ(files.writeMailFiles(j.number, sampleMail()), "");
  EXPECT_EQ(readText(rig.path("info/12.ini")),
            "[COMMON]\r\nNO=12\r\nURI=http://example.com/\r\nNAME=" + sj("監視ページ") +
                "\r\nUSEPROXY=1\r\nUSEUSERMAIL=0\r\nUSERMAILHTML=0\r\nMAILGROUP=1\r\n"
                "CHKKOBETSU=1\r\nCHKHIKAKU=1\r\nCHKSCRIPT=1\r\nCHKCOMMENT=0\r\nCHKREF=0\r\n"
                "CHKSRC=0\r\nCHKALT=0\r\nCHKHEAD=0\r\nCHKWORD=1\r\nWORD=" +
                sj("障害") + "\r\nCHKSUBFOLDER=0\r\nTYPE=URL\r\nSOURCE=\r\nCHECK=\r\n");
  EXPECT_EQ(readText(rig.path("userMail/12.sub")), sj("件名") + "\r\n");
  EXPECT_EQ(readText(rig.path("userMail/12.bdy")), sj("本文1") + "\r\n\r\n%diff\r\n");
  // Empty subject and body: an empty line and nothing.
  EXPECT_EQ(files.writeMailFiles(j.number, JobMail{}), "");
  EXPECT_EQ(readText(rig.path("userMail/12.sub")), "\r\n");
  EXPECT_EQ(readText(rig.path("userMail/12.bdy")), "");
}

TEST(JobFiles, AnUpdateKeepsTheLineOrderAndEmptiesTheState) {
  ServicesRig rig;
  // A file as a Windows installation wrote it, in its own order.
  writeText(
      rig.path("info/12.ini"),
      "[COMMON]\r\nNO=12\r\nTYPE=URL\r\nSOURCE=1\r\nCHECK=0\r\nURI=http://old/\r\nNAME=x\r\n");
  JobFiles files(rig.services.ini, rig.dir.path());
  EXPECT_EQ(files.update(sample(), sampleMail()), "");
  auto lines = readLines(rig.path("info/12.ini"));
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 7),
            (std::vector<std::string>{"[COMMON]", "NO=12", "TYPE=URL", "SOURCE=", "CHECK=",
                                      "URI=http://example.com/", "NAME=" + sj("監視ページ")}));
  EXPECT_EQ(lines[7], "USEPROXY=1");  // keys not yet there follow in the update order
  EXPECT_EQ(lines.back(), "CHKSUBFOLDER=0");
  EXPECT_TRUE(rig.prompter.questions().empty());
  EXPECT_EQ(readText(rig.path("userMail/12.sub")), sj("件名") + "\r\n");
  platform::removeFile(rig.path("info/12.ini"));  // removed meanwhile: not made again
  EXPECT_NE(files.update(sample(), sampleMail()), "");
  EXPECT_FALSE(platform::pathExists(rig.path("info/12.ini")));
}

TEST(JobFiles, ANumberThatNamesAnotherFolderWritesAndDeletesNothing) {
  ServicesRig rig;
  JobFiles files(rig.services.ini, rig.dir.path());
  writeText(rig.path("victim.ini"), "keep");
  for (std::string no : {"../victim", "a/b", "", "  "}) {
    JobRecord j = sample();
    j.number = no;
    EXPECT_NE(files.create(j), "") << no;
    EXPECT_NE(files.update(j, sampleMail()), "") << no;
    EXPECT_NE(files.writeMailFiles(no, sampleMail()), "") << no;
    files.remove(no);
  }
  EXPECT_EQ(readText(rig.path("victim.ini")), "keep");
  EXPECT_TRUE(platform::listFolder(rig.path("info"), "*", false).empty());
  EXPECT_FALSE(platform::pathExists(rig.path("userMail")));
}

TEST(JobFiles, DeleteTakesTheBaselineAndMailFilesAlong) {
  ServicesRig rig;
  JobFiles files(rig.services.ini, rig.dir.path());
  JobRecord j = sample();
  files.create(j);
  files.writeMailFiles(j.number, sampleMail());
  writeText(rig.path("src/12.ini"), "baseline");
  writeText(rig.path("src/12.ini.1"), "generation");
  files.remove("12");
  for (const char* gone : {"info/12.ini", "src/12.ini", "userMail/12.sub", "userMail/12.bdy"})
    EXPECT_FALSE(platform::pathExists(rig.path(gone))) << gone;
  EXPECT_TRUE(platform::pathExists(rig.path("src/12.ini.1")));
}

TEST(JobFiles, JapaneseNumbersNameUtf8Files) {
  ServicesRig rig;
  JobFiles files(rig.services.ini, rig.dir.path());
  JobRecord j = sample();
  j.number = sj("本社1");
  EXPECT_EQ(files.create(j), "");
  EXPECT_TRUE(platform::fileExists(rig.path("info/本社1.ini")));
}
