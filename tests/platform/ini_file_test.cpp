#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_dir.h"

using namespace orvis::platform;
using namespace orvis::testing;

TEST(IniFile, ReadsIgnoringAsciiCaseKeepingBytes) {
  auto doc = IniDocument::parse("; note\r\n[common]\r\nNo = 10 \r\nNAME=" + sj("重要") +
                                "\r\n[Other]\r\nNO=x\r\n");
  EXPECT_EQ(doc.get("COMMON", "NO"), "10");
  EXPECT_EQ(doc.get("COMMON", "name"), sj("重要"));
  EXPECT_EQ(doc.get("OTHER", "no"), "x");
  EXPECT_EQ(doc.get("COMMON", "URI"), std::nullopt);
  EXPECT_EQ(doc.get("NONE", "NO"), std::nullopt);
  auto jp = IniDocument::parse(sj("[メール同報システム]\r\n送信元名称=監視\r\n"));
  EXPECT_EQ(jp.get(sj("メール同報システム"), sj("送信元名称")), sj("監視"));
}

TEST(IniFile, OneSectionsEntriesReadAsEachKeyDoes) {
  auto doc = IniDocument::parse(
      "[common]\r\n; NO=comment\r\nNo = 10 \r\nbare line\r\n=nokey\r\n[COMMON\r\n"
      "URI=u\r\n[X]\r\nNAME=other\r\n [ Common ] \r\nNAME=" +
      sj("重要") + "\r\nno=second\r\nWORD=\r\n");
  IniSection common = doc.section("COMMON");
  for (const char* key : {"NO", "no", "URI", "NAME", "WORD", "", "[COMMON", "CHECK", "bare line"})
    EXPECT_EQ(common.get(key), doc.get("COMMON", key)) << key;
  EXPECT_EQ(common.get("NAME"), sj("重要"));
  EXPECT_EQ(doc.section("NONE").get("NO"), std::nullopt);
}

TEST(IniFile, SetKeepsLineOrderAndAddsWhereExpected) {
  auto doc = IniDocument::parse("[COMMON]\r\nNO=1\r\nSOURCE=1\r\nCHECK=0\r\n\r\n[X]\r\nA=1\r\n");
  doc.set("COMMON", "source", "");
  doc.set("COMMON", "CHECK", "");
  doc.set("COMMON", "NEW", "v");
  doc.set("Y", "B", "2");
  EXPECT_EQ(doc.serialize(),
            "[COMMON]\r\nNO=1\r\nSOURCE=\r\nCHECK=\r\nNEW=v\r\n\r\n[X]\r\nA=1\r\n[Y]\r\nB=2\r\n");
  IniDocument empty;
  empty.set("COMMON", "MAILGROUPCOUNT", "1");
  EXPECT_EQ(empty.serialize(), "[COMMON]\r\nMAILGROUPCOUNT=1\r\n");
}

TEST(IniFile, LoadAndSave) {
  TempDir dir;
  auto missing = loadIniFile(dir / "none.ini");
  ASSERT_TRUE(missing.has_value());
  EXPECT_TRUE(missing->lines().empty());
  makeFolders(dir / "folder.ini");  // exists but cannot be read as a file
  EXPECT_FALSE(loadIniFile(dir / "folder.ini").has_value());
  IniDocument doc;
  doc.set("COMMON", "MODE", "2");
  ASSERT_TRUE(saveIniFile(dir / "Mode.tmp", doc));
  EXPECT_EQ(readText(dir / "Mode.tmp"), "[COMMON]\r\nMODE=2\r\n");
}
