// Postiva: mails every recipient of the list in the work folder named on
// the command line, then ends by itself.

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "mailsender/postiva_app.h"
#include "mailsender/qt/qt_program_end.h"
#include "mailsender/qt/qt_smtp_socket.h"
#include "mailsender/window/status_window.h"
#include "platform/files.h"
#include "platform/qt/qt_pump.h"
#include "platform/qt/qt_timer_driver.h"

namespace {

bool unset(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr || *value == '\0';
}

// Run from cron on a server there is no display; the strip is then drawn
// off screen.
bool selectOffscreenWithoutDisplay() {
  if (unset("DISPLAY") && unset("WAYLAND_DISPLAY") && unset("QT_QPA_PLATFORM")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return true;
  }
  return false;
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
  // Not exactly one argument: end before anything is touched, silently.
  if (argc != 2) return 2;
  bool headless = selectOffscreenWithoutDisplay();
  if (headless) qInstallMessageHandler(toolkitMessage);
  // A run is a long chain of small round trips; Qt's own event dispatcher
  // serves them with fewer wake-ups than the GLib one.
  if (unset("QT_NO_GLIB")) setenv("QT_NO_GLIB", "1", 1);
  QApplication app(argc, argv);

  orvis::platform::QtTimerDriver timers;
  orvis::platform::SystemClock clock;
  orvis::platform::QtPump pump;
  QtSmtpSocket socket;
  QtProgramEnd end;
  StatusWindow window;
  PostivaApp postiva(orvis::platform::executableFolder(), {argv[1]},
                     SessionPorts{socket, window, pump, clock, end}, &timers);
  if (!postiva.start()) return postiva.exitCode();

  SmtpSession& session = postiva.session();
  window.onSend = [&session] { session.startSending(); };
  window.onTestSend = [&session] { session.startTestSend(); };
  window.onAbort = [&session] { session.abort(); };
  // Without a display nobody can see the strip; drawing it off screen after
  // every message would only slow the run down.
  if (!headless) window.show();
  int exitCode = app.exec();
  // The last command (QUIT) may still sit in the socket's queue.
  socket.finish(5000);
  return exitCode;
}
