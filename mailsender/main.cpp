// Postiva: mails every recipient of the list in the work folder named on
// the command line, then ends by itself.

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "mailsender/postiva_app.h"
#include "mailsender/qt/qt_program_end.h"
#include "mailsender/qt/qt_smtp_socket.h"
#include "mailsender/window/status_window.h"
#include "platform/data_folder.h"
#include "platform/files.h"
#include "platform/open_file.h"
#include "platform/qt/display_choice.h"
#include "platform/qt/qt_pump.h"
#include "platform/qt/qt_timer_driver.h"
#include "platform/qt/termination_signals.h"
#include "platform/qt/toolkit_arguments.h"

namespace {

bool unset(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr || *value == '\0';
}

// Without a display nobody reads the toolkit's notes on stderr, but cron
// mails every line of it; the logs say what happened. Serious ones still
// go out.
void toolkitMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}

}  // namespace

int main(int argc, char** argv) {
  using namespace orvis::postiva;
  // The work folder is ours, whatever it looks like ("-reverse" is a name
  // here, not an option of the toolkit).
  std::vector<std::string> args(argv + 1, argv + argc);
  // Not exactly one argument: end before anything is touched, silently.
  if (args.size() != 1) return 2;
  // Stopped from outside, the run ends as an abort, in its logs.
  SmtpSession* running = nullptr;
  orvis::platform::TerminationSignals stopRequests([&running](int signo) {
    const char* name = sigabbrev_np(signo);
    if (running) running->abortOnRequest(std::string("SIG") + (name ? name : "?"));
  });
  // Run from cron on a server there is no display, or one that is gone;
  // the strip is then drawn off screen.
  orvis::platform::DisplayChoice display = orvis::platform::chooseDisplay();
  if (display.offscreen) qInstallMessageHandler(toolkitMessage);
  // A run is a long chain of small round trips; Qt's own event dispatcher
  // serves them with fewer wake-ups than the GLib one.
  if (unset("QT_NO_GLIB")) setenv("QT_NO_GLIB", "1", 1);
  orvis::platform::ToolkitArguments toolkit(argv[0], display.platforms);
  QApplication app(toolkit.argc(), toolkit.argv());
  orvis::platform::settleDisplayChoice(display, QGuiApplication::platformName().toStdString());

  orvis::platform::QtTimerDriver timers;
  orvis::platform::SystemClock clock;
  orvis::platform::QtPump pump;
  QtSmtpSocket socket;
  QtProgramEnd end;
  StatusWindow window;
  orvis::mail::SystemMailStamps stamps("postiva.invalid");
  const std::string folder = orvis::platform::dataFolder();
  PostivaApp postiva(folder, args, SessionPorts{socket, window, pump, clock, end, stamps}, &timers);
  // What the file rules refuse goes to the system log, once there is one.
  const orvis::platform::DataFolderGuard guard(folder, [&postiva](const std::string& line) {
    if (const MailLogs* logs = postiva.logs())
      logs->writeSystemLog(line);
    else
      orvis::platform::writeLostLine(line);
  });
  postiva.setStartNote(orvis::platform::unreachableDisplayLine(display));
  if (!postiva.start()) return postiva.exitCode();

  SmtpSession& session = postiva.session();
  running = &session;
  stopRequests.listen();
  window.onSend = [&session] { session.startSending(); };
  window.onTestSend = [&session] { session.startTestSend(); };
  window.onAbort = [&session] { session.abort(); };
  // Without a display nobody can see the strip; drawing it off screen after
  // every message would only slow the run down.
  if (!display.offscreen) window.show();
  int exitCode = app.exec();
  // The last command (QUIT) may still sit in the socket's queue.
  socket.finish(5000);
  return exitCode;
}
