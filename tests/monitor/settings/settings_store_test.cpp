#include "monitor/settings/settings_store.h"

#include <gtest/gtest.h>

#include "support/services_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {
struct StoreFixture : ::testing::Test {
  ServicesRig rig;
  TempDir& dir = rig.dir;
  FakePrompter& prompter = rig.prompter;
  SettingsStore store{rig.services.ini, rig.dir.path()};
};
}  // namespace

TEST_F(StoreFixture, NoFileGivesTheDefaultsAndWritesOnlyTheGroupCount) {
  store.loadAtStartup();
  const Settings& s = store.current();
  EXPECT_EQ(s.checkInterval, 60);
  EXPECT_EQ(s.reactivation, "02:00");
  EXPECT_EQ(s.sourceCheck, "YES");
  EXPECT_EQ(s.scriptIgnore, "");
  EXPECT_EQ(s.playCount, "");
  EXPECT_EQ(s.buzzerDevice, "");
  EXPECT_EQ(s.validDay, "");
  EXPECT_EQ(s.mailGroupCount, "1");
  EXPECT_EQ(readText(dir / "ORVIS.ini"), "[COMMON]\r\nMAILGROUPCOUNT=1\r\n");
  EXPECT_TRUE(prompter.questions().empty());
}

TEST_F(StoreFixture, StoredValuesAndTheirDefaults) {
  writeText(dir / "ORVIS.ini",
            "[COMMON]\r\nVALIDDAY=3\r\nCHECKINTERVAL=abc\r\nREACTIVATION=:\r\nSOURCE_CHECK=NO\r\n"
            "SCRIPT_IGNORE=yes\r\nPLAYCOUNTDISCON=2\r\nMAILGROUPCOUNT=4\r\n");
  store.loadAtStartup();
  const Settings& s = store.current();
  EXPECT_EQ(s.validDay, "3");
  EXPECT_EQ(s.checkInterval, 60);
  EXPECT_EQ(s.reactivation, "02:00");
  EXPECT_EQ(s.sourceCheck, "NO");
  EXPECT_EQ(s.scriptIgnore, "yes");  // kept as stored; only "YES" counts as set
  EXPECT_EQ(s.playCount, "2");
  EXPECT_EQ(s.mailGroupCount, "4");

  writeText(dir / "ORVIS.ini", "[COMMON]\r\nCHECKINTERVAL=x\r\nREACTIVATION=07:05\r\n");
  store.reloadAfterSave();
  EXPECT_EQ(store.current().checkInterval, 30);
  EXPECT_EQ(store.current().reactivation, "07:05");
  EXPECT_EQ(store.current().mailGroupCount, "4");  // the count is not read again
}

TEST_F(StoreFixture, APeriodBelowOneMinuteCountsAsNotANumber) {
  writeText(dir / "ORVIS.ini", "[COMMON]\r\nCHECKINTERVAL=0\r\n");
  store.loadAtStartup();
  EXPECT_EQ(store.current().checkInterval, 60);
  writeText(dir / "ORVIS.ini", "[COMMON]\r\nCHECKINTERVAL=5\r\n");
  store.loadAtStartup();
  EXPECT_EQ(store.current().checkInterval, 5);
}

TEST_F(StoreFixture, TheGroupCountIsStoredAtOnce) {
  writeText(dir / "ORVIS.ini", "[COMMON]\r\nVALIDDAY=3\r\n");
  store.setMailGroupCount("3");
  EXPECT_EQ(store.current().mailGroupCount, "3");
  EXPECT_EQ(readText(dir / "ORVIS.ini"), "[COMMON]\r\nVALIDDAY=3\r\nMAILGROUPCOUNT=3\r\n");
}
