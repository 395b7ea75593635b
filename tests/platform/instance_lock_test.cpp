#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "support/temp_dir.h"

using namespace orvis::platform;
using Outcome = InstanceLock::Outcome;

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstEnds) {
  orvis::testing::TempDir dir;
  setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
  {
    InstanceLock first("OrvisWatch");
    ASSERT_TRUE(first.acquired());
    EXPECT_EQ(first.path(), dir / "OrvisWatch.lock");
    InstanceLock second("OrvisWatch");
    EXPECT_EQ(second.outcome(), Outcome::HeldElsewhere);
    EXPECT_EQ(second.error(), "");
    InstanceLock other("Other");
    EXPECT_TRUE(other.acquired());
  }
  InstanceLock again("OrvisWatch");
  EXPECT_TRUE(again.acquired());
}

// A place that cannot hold the lock file is no sign of another instance:
// it is passed over, and when no place works the reasons are all named. A
// missing folder is made, so that the lock stays where the next start looks.
TEST(InstanceLock, UnusablePlacesArePassedOverAndOnlyAHeldLockRefuses) {
  orvis::testing::TempDir dir;
  const std::string file = dir / "a-file", inFile = file + "/sub", good = dir / "good";
  orvis::testing::writeText(file, "");
  struct Case {
    std::vector<std::string> folders;
    Outcome outcome;
    std::string path;
  };
  for (const Case& c : {
           Case{{dir / "missing/run"}, Outcome::Acquired, dir / "missing/run/X.lock"},
           Case{{inFile, good}, Outcome::Acquired, good + "/X.lock"},
           Case{{file, inFile}, Outcome::Failed, inFile + "/X.lock"},
       }) {
    SCOPED_TRACE(c.folders.front());
    InstanceLock lock("X", c.folders);
    EXPECT_EQ(lock.outcome(), c.outcome);
    EXPECT_EQ(lock.path(), c.path);
    if (c.outcome == Outcome::Failed) {
      EXPECT_NE(lock.error().find(file + "/X.lock: "), std::string::npos) << lock.error();
      EXPECT_NE(lock.error().find(inFile + "/X.lock: "), std::string::npos) << lock.error();
    }
  }
  InstanceLock first("X", {dir / "made", good});
  ASSERT_TRUE(first.acquired());
  InstanceLock second("X", {dir / "made", good});
  EXPECT_EQ(second.outcome(), Outcome::HeldElsewhere);
}
