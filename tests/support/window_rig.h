#pragma once
// A real main window, offscreen, on fakes in a data folder of its own, with
// its timers driven by hand. Message boxes answer through
// prompter.setNextAnswers. For window tests (link orvis_ui).

#include <QString>
#include <string>
#include <vector>

#include "fake_clock.h"
#include "fake_processes.h"
#include "monitor/ui/main_window.h"
#include "monitor/ui/qt_pump.h"
#include "platform/codec.h"
#include "temp_dir.h"

namespace orvis::testing {

struct WindowRig {
  explicit WindowRig(std::vector<std::string> args = {})
      : form(ui::MonitorWindowConfig{dir.path(), StartInfo::fromArguments(args), clock, pump,
                                     prompter, launcher, processes, disks, false}) {
    form.setOnStopped([this] { ++stops; });
  }

  template <typename T = QWidget>
  T* find(const char* name) {
    return form.findChild<T*>(name);
  }
  // The system log so far, UTF-8, a line each.
  QString logText() const {
    QString all;
    for (const auto& line : readLogLines(dir.path() + "syslog/"))
      all += QString::fromStdString(platform::toUtf8(line)) + "\n";
    return all;
  }

  TempDir dir;
  FakeClock clock;
  ui::QtPump pump;
  ui::QtPrompter prompter;
  FakeLauncher launcher;
  FakeProcessLister processes;
  FakeDiskSpace disks;
  ui::TForm1 form;
  int stops = 0;
};

}  // namespace orvis::testing
