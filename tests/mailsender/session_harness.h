#pragma once
// A whole Postiva run in the test's own event loop: a program folder with
// the work folder "mail", fakes for the window, the clock, the pump and the
// program's end, the real Qt socket. Timers fire only when the test says.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fake_postiva_view.h"
#include "mailsender/postiva_app.h"
#include "mailsender/qt/qt_smtp_socket.h"
#include "support/fake_clock.h"
#include "support/fixed_mail_stamps.h"
#include "support/temp_dir.h"

namespace orvis::testing {

// The QCoreApplication of the test program, made on first use.
void ensureQtApplication();

// Runs the event loop until `done` holds or `timeoutMs` passed; false on
// the time-out.
bool runEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000);

class SessionHarness {
 public:
  // Postiva.ini naming `host` as the server, in the work folder `workName`
  // (UTF-8); texts in UTF-8, written as CP932. writeSettings lines replace
  // the default of their key or are added.
  explicit SessionHarness(const std::string& host, const std::string& workName = "mail");

  void writeSettings(const std::vector<std::string>& lines);  // "key=value" lines
  void writeList(const std::vector<std::string>& lines);
  void writeMessage(const std::string& type, const std::string& subject,
                    const std::vector<std::string>& body);

  // list.txt with the one line "a@rcpt.test,0" and its message files.
  void writeOneRecipient();

  bool start() { return start({workName}); }
  bool start(const std::vector<std::string>& args);
  postiva::SmtpSession& session() { return app->session(); }
  // Fires the pass timer, which must be running, and runs the dialogue until
  // the program is ended, or the pass timer is started for a retry, or
  // `until` holds.
  bool runPass(const std::function<bool()>& until = nullptr);
  // Runs passes and retries until the program is ended.
  bool runToEnd(int maxPasses = 10);

  bool ended() const { return end.calls > 0; }
  std::vector<std::string> syslog() const;  // UTF-8, without time stamps
  std::vector<std::string> sendlog() const;
  bool logHas(const std::string& line) const;

  TempDir dir;
  std::string workName;
  std::string work;
  std::string host;
  FakeClock clock;
  FakePump pump;
  FakePostivaView view;
  FakeProgramEnd end;
  FixedMailStamps stamps;
  postiva::QtSmtpSocket socket;
  std::unique_ptr<postiva::PostivaApp> app;
};

}  // namespace orvis::testing
