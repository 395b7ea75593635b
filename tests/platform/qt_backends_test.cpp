// What the Qt programs settle before their QApplication, and the timers
// they run on.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/files.h"
#include "platform/qt/display_choice.h"
#include "platform/qt/qt_timer_driver.h"
#include "support/temp_dir.h"

using namespace orvis::platform;

TEST(DisplayChoice, AnUnreachableDisplayMeansOffscreenAndIsNamed) {
  orvis::testing::TempDir runtime;  // with a compositor's socket that accepts
  int compositor = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un a{AF_UNIX, {}};
  std::strcpy(a.sun_path, (runtime / "wayland-7").c_str());
  ASSERT_EQ(::bind(compositor, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  ASSERT_EQ(::listen(compositor, 4), 0);
  ASSERT_FALSE(pathExists("/tmp/.X11-unix/X87"));  // no X server on :87
  setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  setenv("XDG_SESSION_TYPE", "tty", 1);
  struct Case {
    const char *platform, *x, *wayland;
    std::string unreachable;  // "-": a display is used
    std::string platforms;    // handed to the toolkit
  };
  for (const Case& c : {Case{"", "", "", "", "offscreen"},
                        Case{"", ":87", "gone", "DISPLAY=:87,WAYLAND_DISPLAY=gone", "offscreen"},
                        Case{"", ":87", "wayland-7", "-", "xcb;wayland;offscreen"},
                        Case{"xcb", ":87", "wayland-7", "DISPLAY=:87", "offscreen"},
                        Case{"wayland", ":87", "wayland-7", "-", "wayland;offscreen"},
                        Case{"offscreen", ":87", "", "-", ""}}) {
    SCOPED_TRACE(std::string(c.platform) + "|" + c.x + "|" + c.wayland);
    setenv("QT_QPA_PLATFORM", c.platform, 1);
    setenv("DISPLAY", c.x, 1);
    setenv("WAYLAND_DISPLAY", c.wayland, 1);
    DisplayChoice choice = chooseDisplay();
    EXPECT_EQ(choice.offscreen, c.unreachable != "-");
    EXPECT_EQ(choice.unreachable, c.unreachable == "-" ? "" : c.unreachable);
    EXPECT_EQ(choice.platforms, c.platforms);
  }
  ::close(compositor);
  // A display that answered the check but not the toolkit: offscreen after
  // all, and named as unreachable for the log.
  setenv("QT_QPA_PLATFORM", "", 1);
  setenv("DISPLAY", ":87", 1);
  DisplayChoice checked = chooseDisplay();
  checked.offscreen = false;
  settleDisplayChoice(checked, "xcb");
  EXPECT_FALSE(checked.offscreen);
  settleDisplayChoice(checked, "offscreen");
  EXPECT_TRUE(checked.offscreen);
  EXPECT_EQ(checked.unreachable, "DISPLAY=:87");
}

// Toolkit timers that are not precise are moved to a round time and fire
// early by up to a good part of a second, when started just past one.
TEST(QtTimerDriver, TimersNeverFireEarlyAtAnyPhaseOfTheSecond) {
  using namespace std::chrono;
  int argc = 1;
  char name[] = "qt_backends_test", *argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  QtTimerDriver driver;
  std::vector<std::unique_ptr<Timer>> timers;
  std::vector<long> waitedMs;
  for (int phase : {20, 60, 95, 400}) {
    while (duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() % 1000 !=
           phase)
      std::this_thread::sleep_for(microseconds(100));
    Timer& t = *timers.emplace_back(std::make_unique<Timer>("t", 2000));
    t.setHandler([&t, &waitedMs, start = steady_clock::now()] {
      t.setEnabled(false);
      waitedMs.push_back(duration_cast<milliseconds>(steady_clock::now() - start).count());
    });
    t.attach(&driver);
    t.setEnabled(true);
  }
  QElapsedTimer limit;
  limit.start();
  while (waitedMs.size() < timers.size() && limit.elapsed() < 6000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  ASSERT_EQ(waitedMs.size(), timers.size());
  for (long ms : waitedMs) EXPECT_GE(ms, 2000);
}
