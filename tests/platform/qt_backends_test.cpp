// What the Qt programs settle before their QApplication (the display, the
// toolkit's command line) and the timers they run on.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include "platform/files.h"
#include "platform/qt/display_choice.h"
#include "platform/qt/qt_timer_driver.h"
#include "platform/qt/toolkit_arguments.h"
#include "platform/timer.h"
#include "support/temp_dir.h"

using namespace orvis::platform;

namespace {

void setOrUnset(const char* name, const char* value) {
  if (value) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
}

// A compositor's socket that accepts connections (nobody answers them).
int listenAt(const std::string& path) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 4) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

TEST(DisplayChoice, AnUnreachableDisplayMeansOffscreenAndIsNamed) {
  orvis::testing::TempDir runtime;
  int compositor = listenAt(runtime / "wayland-7");
  ASSERT_GE(compositor, 0);
  ASSERT_FALSE(pathExists("/tmp/.X11-unix/X87"));  // no X server on :87
  struct Case {
    const char* platform;
    const char* x;
    const char* wayland;
    bool offscreen;
    std::string unreachable;
  };
  for (const Case& c : {
           Case{nullptr, nullptr, nullptr, true, ""},  // none named: quietly off screen
           Case{nullptr, ":87", nullptr, true, "DISPLAY=:87"},
           Case{nullptr, ":87", "gone", true, "DISPLAY=:87,WAYLAND_DISPLAY=gone"},
           Case{nullptr, ":87", "wayland-7", false, ""},
           Case{"xcb", ":87", "wayland-7", true, "DISPLAY=:87"},
           Case{"wayland", nullptr, "wayland-7", false, ""},
           Case{"offscreen", ":87", nullptr, false, ""},  // chosen on purpose: left alone
       }) {
    SCOPED_TRACE(std::string(c.platform ? c.platform : "-") + " " + (c.x ? c.x : "-") + " " +
                 (c.wayland ? c.wayland : "-"));
    setOrUnset("QT_QPA_PLATFORM", c.platform);
    setOrUnset("DISPLAY", c.x);
    setOrUnset("WAYLAND_DISPLAY", c.wayland);
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    DisplayChoice choice = chooseDisplay();
    EXPECT_EQ(choice.offscreen, c.offscreen);
    EXPECT_EQ(choice.unreachable, c.unreachable);
    EXPECT_EQ(unreachableDisplayLine(choice).empty(), c.unreachable.empty());
  }
  ::close(compositor);
}

// The application of this test program is made the way the programs make
// theirs: with nothing of the command line but the name and the platform.
class QtBackends : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    unsetenv("QT_QPA_PLATFORM");
    args_ = std::make_unique<ToolkitArguments>("qt_backends_test", true);
    app_ = std::make_unique<QGuiApplication>(args_->argc(), args_->argv());
  }
  static void TearDownTestSuite() {
    app_.reset();
    args_.reset();
  }
  static std::unique_ptr<ToolkitArguments> args_;
  static std::unique_ptr<QGuiApplication> app_;
};
std::unique_ptr<ToolkitArguments> QtBackends::args_;
std::unique_ptr<QGuiApplication> QtBackends::app_;

TEST_F(QtBackends, TheToolkitRunsOffscreenAndSeesNoArgumentOfTheProgram) {
  EXPECT_EQ(QGuiApplication::platformName(), "offscreen");
  EXPECT_EQ(QCoreApplication::arguments(), QStringList{"qt_backends_test"});
}

// A timer never fires before its interval, wherever within the second it
// was started: toolkit timers that are not precise are moved to a round
// time and may fire early by a good part of a second.
TEST_F(QtBackends, TimersNeverFireEarlyAtAnyPhaseOfTheSecond) {
  using std::chrono::milliseconds;
  using std::chrono::steady_clock;
  constexpr int kInterval = 2000;
  QtTimerDriver driver;
  struct Started {
    std::unique_ptr<Timer> timer;
    steady_clock::time_point at;
    milliseconds waited{-1};
  };
  std::vector<Started> timers;
  // Phases just past a whole second of the monotonic clock, where rounding
  // would move the expiry back to that second.
  for (int phase : {20, 60, 95, 400}) {
    while (
        (std::chrono::duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() %
         1000) != phase) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    Started s{std::make_unique<Timer>("t", kInterval), steady_clock::now()};
    Timer* t = s.timer.get();
    size_t index = timers.size();
    t->setHandler([&timers, index, t] {
      t->setEnabled(false);
      timers[index].waited =
          std::chrono::duration_cast<milliseconds>(steady_clock::now() - timers[index].at);
    });
    timers.push_back(std::move(s));
    t->attach(&driver);
    t->setEnabled(true);
  }
  QElapsedTimer limit;
  limit.start();
  auto done = [&] {
    for (auto& s : timers)
      if (s.waited.count() < 0) return false;
    return true;
  };
  while (!done() && limit.elapsed() < 3 * kInterval)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  for (size_t i = 0; i < timers.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_GE(timers[i].waited.count(), kInterval);
  }
}
