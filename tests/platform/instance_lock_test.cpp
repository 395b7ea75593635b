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

// Only a lock held by another process refuses: a place that cannot hold the
// lock file is passed over (a missing folder is made first, so that the lock
// stays where the next start looks), and when none can, all are named.
TEST(InstanceLock, UnusablePlacesArePassedOver) {
  orvis::testing::TempDir dir;
  const std::string file = dir / "a-file", inFile = file + "/sub";
  orvis::testing::writeText(file, "");
  InstanceLock made("X", {dir / "missing/run"});
  ASSERT_TRUE(made.acquired());
  EXPECT_EQ(made.path(), dir / "missing/run/X.lock");
  InstanceLock second("X", {dir / "missing/run", dir.path()});
  EXPECT_EQ(second.outcome(), Outcome::HeldElsewhere);
  InstanceLock fallback("Y", {inFile, dir.path()});
  EXPECT_EQ(fallback.path(), dir / "Y.lock");
  InstanceLock none("Z", {file, inFile});
  EXPECT_EQ(none.outcome(), Outcome::Failed);
  EXPECT_EQ(none.error(),
            file + "/Z.lock: Not a directory; " + inFile + "/Z.lock: Not a directory");
}
