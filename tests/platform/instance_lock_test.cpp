#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "support/temp_dir.h"

using namespace orvis::platform;

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstEnds) {
  orvis::testing::TempDir dir;
  setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
  {
    InstanceLock first("OrvisWatch");
    ASSERT_TRUE(first.acquired());
    EXPECT_EQ(first.path(), dir / "OrvisWatch.lock");
    InstanceLock second("OrvisWatch");
    EXPECT_FALSE(second.acquired());
    InstanceLock other("Other");
    EXPECT_TRUE(other.acquired());
  }
  InstanceLock again("OrvisWatch");
  EXPECT_TRUE(again.acquired());
}
