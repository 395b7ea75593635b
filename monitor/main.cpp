// OrvisWatch: the monitor program.

#include <QApplication>
#include <QPointer>
#include <cstdio>
#include <string>
#include <vector>

#include "monitor/app/command_line.h"
#include "monitor/app/command_program.h"
#include "monitor/shell/sys_log.h"
#include "monitor/ui/audio_form.h"
#include "monitor/ui/main_window.h"
#include "monitor/ui/pictures.h"
#include "monitor/ui/qt_prompter.h"
#include "monitor/ui/signal_bridge.h"
#include "platform/alsa/alsa_sound_output.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/data_folder.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/open_file.h"
#include "platform/posix_process_launcher.h"
#include "platform/proc_process_lister.h"
#include "platform/qt/display_choice.h"
#include "platform/qt/qt_descriptor_watcher.h"
#include "platform/qt/qt_pump.h"
#include "platform/qt/qt_timer_driver.h"
#include "platform/qt/toolkit_arguments.h"
#include "platform/statvfs_disk_space_reader.h"
#include "platform/systemd/service_notifier.h"

int main(int argc, char** argv) {
  // Our own arguments, before the toolkit could take any for its options.
  std::vector<std::string> args(argv + 1, argv + argc);
  // Before any thread: every program started from here works on this folder.
  // Everything the programs write in the data folder stays in it; what the
  // file rules refuse is said in the system log.
  const std::string dataFolder = orvis::platform::settleDataFolder();
  orvis::platform::SystemClock clock;
  const orvis::SysLog refusalLog(dataFolder, clock);
  const orvis::platform::DataFolderGuard guard(
      dataFolder, [&refusalLog](const std::string& line) { refusalLog.write(line); });
  // The verbs (--capture, --check, --help, ...) need no window and no toolkit.
  const orvis::CommandLine command = orvis::CommandLine::parse(args);
  if (command.verb != orvis::CommandLine::Verb::Start)
    return orvis::runCommandLine(command, argc > 0 ? argv[0] : "OrvisWatch");

  // A data folder of its own that does not exist yet (a desktop user's
  // first start) is made: it holds the lock.
  orvis::platform::makeFolders(dataFolder);
  // One process per data folder: a second start ends at once, without a
  // trace. A lock that cannot be taken at all is no second start: the
  // monitor would otherwise never run, and nobody would know why.
  orvis::platform::InstanceLock lock(dataFolder, orvis::platform::LockRole::Monitor);
  if (lock.outcome() == orvis::platform::InstanceLock::Outcome::HeldElsewhere) return 0;
  if (!lock.acquired()) {
    const std::string reason = SJIS("多重起動防止ロックを取得できません(") + lock.error() + ")";
    refusalLog.write(reason);
    std::fprintf(stderr, "OrvisWatch: %s\n", orvis::platform::toUtf8(reason).c_str());
    return 1;
  }

  orvis::platform::DisplayChoice display = orvis::platform::chooseDisplay();
  orvis::platform::ToolkitArguments toolkit(argv[0], display.platforms);
  QApplication app(toolkit.argc(), toolkit.argv());
  orvis::platform::settleDisplayChoice(display, QGuiApplication::platformName().toStdString());
  QApplication::setApplicationName("OrvisWatch");
  QApplication::setApplicationDisplayName("ORVIS Monitor");
  QApplication::setWindowIcon(orvis::ui::applicationIcon());
  QApplication::setQuitOnLastWindowClosed(false);

  orvis::platform::QtPump pump;
  orvis::ui::QtPrompter prompter;
  // Off screen (no display could be reached, or chosen so), a box would wait
  // for an answer that never comes.
  prompter.setNobodyToAnswer(display.offscreen ||
                             QGuiApplication::platformName() == QLatin1String("offscreen"));
  orvis::platform::PosixProcessLauncher launcher;
  orvis::platform::ProcProcessLister processes;
  orvis::platform::StatvfsDiskSpaceReader disks;
  orvis::platform::QtDescriptorWatcher soundWatcher;
  orvis::platform::QtTimerDriver soundTimers;
  orvis::platform::AlsaSoundOutput sound(soundWatcher, &soundTimers);
  const orvis::MonitorHost host{dataFolder, orvis::StartInfo::fromArguments(args),
                                clock,      pump,
                                prompter,   launcher,
                                processes,  disks,
                                sound,      orvis::platform::executableFolder()};
  orvis::ui::MainWindow mainWindow(host);
  // Boxes asked from now on stand over the window they were asked from: the
  // main window or the settings dialog. (Those of its creation come before
  // it is ever shown.)
  prompter.setOwner([w = QPointer<orvis::ui::MainWindow>(&mainWindow)]() -> QWidget* {
    return w ? w->boxOwner() : nullptr;
  });
  orvis::ui::AudioForm audioForm;
  const std::string displayLine = orvis::platform::unreachableDisplayLine(display);
  if (!displayLine.empty()) orvis::SysLog(host.dataFolder, clock).write(displayLine);

  orvis::platform::ServiceNotifier service;
  mainWindow.monitor().setStartedNotice([&service, &mainWindow] {
    service.ready(mainWindow.monitor().state().automaticMode == 1 ? "automatic check mode"
                                                                  : "edit/manual mode");
  });
  QObject::connect(&app, &QCoreApplication::aboutToQuit, [&service] { service.stopping(); });

  orvis::ui::SignalBridge terminationBridge([&mainWindow, &service](int) {
    service.stopping();
    mainWindow.shutdownRequested();
  });
  QObject::connect(&app, &QGuiApplication::commitDataRequest,
                   [&mainWindow](QSessionManager&) { mainWindow.monitor().sessionEnding(); });

  mainWindow.show();
  return app.exec();
}
