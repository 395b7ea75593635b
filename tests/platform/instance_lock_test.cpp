#include "platform/instance_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_dir.h"

using namespace orvis::platform;
using Outcome = InstanceLock::Outcome;

// One lock per data folder, in the folder itself: a second taker of the
// same folder is refused until the first ends, another folder is free, and
// who holds it is known without taking it. A lock file that is a link, or
// a folder that is not there, is no second start but a failure that says
// why.
TEST(InstanceLock, OneHolderPerDataFolderKnownWithoutTakingIt) {
  orvis::testing::TempDir a, b;
  EXPECT_EQ(lockHolder(a.path()), std::nullopt);
  {
    InstanceLock first(a.path(), LockRole::Monitor);
    ASSERT_TRUE(first.acquired());
    EXPECT_EQ(first.path(), a / "OrvisWatch.lock");
    struct stat st;
    ASSERT_EQ(::stat(first.path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    const auto holder = lockHolder(a.path()).value_or(LockHolder{});
    EXPECT_EQ(holder.pid, ::getpid());
    EXPECT_EQ(holder.role + " " + std::to_string(holder.started.size()), "monitor 19");

    InstanceLock second(a.path(), LockRole::Verb);
    EXPECT_EQ(second.outcome(), Outcome::HeldElsewhere);
    EXPECT_EQ(second.error(), "");  // asking who holds it took nothing
    EXPECT_TRUE(InstanceLock(b.path(), LockRole::Verb).acquired());
  }
  EXPECT_EQ(lockHolder(a.path()), std::nullopt);
  EXPECT_EQ(InstanceLock(a.path(), LockRole::Verb).outcome(), Outcome::Acquired);

  // What the file says counts only for the pid it names.
  const int fd = ::open((a / "OrvisWatch.lock").c_str(), O_RDWR | O_TRUNC);
  ASSERT_EQ(::write(fd, "pid=1\nrole=monitor\n", 19), 19);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  EXPECT_EQ(lockHolder(a.path())->pid, ::getpid());
  EXPECT_EQ(lockHolder(a.path())->role, "");
  ::close(fd);

  ASSERT_EQ(::unlink((b / "OrvisWatch.lock").c_str()), 0);
  ASSERT_EQ(::symlink((a / "OrvisWatch.lock").c_str(), (b / "OrvisWatch.lock").c_str()), 0);
  InstanceLock linked(b.path(), LockRole::Monitor);
  EXPECT_EQ(linked.outcome(), Outcome::Failed);
  EXPECT_EQ(linked.error(), b / "OrvisWatch.lock: Too many levels of symbolic links");
  InstanceLock missing(b / "missing", LockRole::Monitor);
  EXPECT_EQ(missing.error(), b / "missing/OrvisWatch.lock: No such file or directory");
}
