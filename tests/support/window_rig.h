#pragma once
// A real main window, offscreen, on fakes in a data folder of its own, with
// its timers (the alarm's repeat timer too) driven by hand. Message boxes answer through
// prompter.setNextAnswers, and by their default button when no answer
// waits, so no test ever waits on a modal box. For window tests (link
// orvis_ui).

#include <QPointer>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "fake_clock.h"
#include "fake_processes.h"
#include "fake_sound_output.h"
#include "monitor/ui/main_window.h"
#include "monitor/ui/qt_prompter.h"
#include "platform/codec.h"
#include "platform/qt/qt_pump.h"
#include "temp_dir.h"

namespace orvis::testing {

// What a main window is built from.
struct WindowServices {
  WindowServices() { prompter.setAnswerWithDefaults(true); }

  MonitorHost host(const std::vector<std::string>& args = {}) {
    return {dir.path(), StartInfo::fromArguments(args),
            clock,      pump,
            prompter,   launcher,
            processes,  disks,
            sound};
  }
  // A window built now, over what the data folder holds now.
  std::unique_ptr<ui::MainWindow> makeWindow(const std::vector<std::string>& args = {}) {
    auto form = std::make_unique<ui::MainWindow>(host(args), ui::MainWindow::Timers::Manual);
    form->setOnStopped([this] { ++stops; });
    prompter.setOwner(
        [w = QPointer<ui::MainWindow>(form.get())] { return w ? w->boxOwner() : nullptr; });
    return form;
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
  platform::QtPump pump;
  ui::QtPrompter prompter;
  FakeLauncher launcher;
  FakeProcessLister processes;
  FakeDiskSpace disks;
  FakeSoundOutput sound;
  int stops = 0;
};

// A window built at once over an empty data folder.
struct WindowRig : WindowServices {
  explicit WindowRig(const std::vector<std::string>& args = {})
      : form(host(args), ui::MainWindow::Timers::Manual) {
    form.setOnStopped([this] { ++stops; });
  }

  template <typename T = QWidget>
  T* find(const char* name) {
    return form.findChild<T*>(name);
  }

  ui::MainWindow form;
};

}  // namespace orvis::testing
