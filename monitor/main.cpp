// OrvisWatch: the monitor program.

#include <QApplication>
#include <string>
#include <vector>

#include "monitor/ui/audio_form.h"
#include "monitor/ui/main_window.h"
#include "monitor/ui/offscreen.h"
#include "monitor/ui/pictures.h"
#include "monitor/ui/qt_prompter.h"
#include "monitor/ui/settings_dialog.h"
#include "monitor/ui/signal_bridge.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/posix_process_launcher.h"
#include "platform/proc_process_lister.h"
#include "platform/qt/qt_pump.h"
#include "platform/statvfs_disk_space_reader.h"

int main(int argc, char** argv) {
  // One monitor per machine: a second start ends at once, without a trace.
  orvis::platform::InstanceLock lock("OrvisWatch");
  if (!lock.acquired()) return 0;

  std::vector<std::string> args(argv + 1, argv + argc);
  orvis::ui::selectOffscreenWithoutDisplay();
  QApplication app(argc, argv);
  QApplication::setApplicationName("OrvisWatch");
  QApplication::setApplicationDisplayName("ORVIS Monitor");
  QApplication::setWindowIcon(orvis::ui::applicationIcon());
  QApplication::setQuitOnLastWindowClosed(false);

  orvis::platform::SystemClock clock;
  orvis::platform::QtPump pump;
  orvis::ui::QtPrompter prompter;
  orvis::platform::PosixProcessLauncher launcher;
  orvis::platform::ProcProcessLister processes;
  orvis::platform::StatvfsDiskSpaceReader disks;
  const orvis::MonitorHost host{orvis::platform::executableFolder(),
                                orvis::StartInfo::fromArguments(args),
                                clock,
                                pump,
                                prompter,
                                launcher,
                                processes,
                                disks};
  orvis::ui::MainWindow mainWindow(host);
  // Boxes asked from now on stand over the main window. (Those of its
  // creation come before it is ever shown.)
  prompter.setOwner(&mainWindow);
  orvis::ui::AudioForm audioForm;
  orvis::ui::SettingsDialog settingsDialog(&mainWindow);

  orvis::ui::SignalBridge terminationBridge([&mainWindow](int) { mainWindow.shutdownRequested(); });
  QObject::connect(&app, &QGuiApplication::commitDataRequest,
                   [&mainWindow](QSessionManager&) { mainWindow.monitor().sessionEnding(); });

  mainWindow.show();
  return app.exec();
}
