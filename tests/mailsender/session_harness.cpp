#include "session_harness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>

#include "platform/bytes.h"
#include "platform/codec.h"

namespace orvis::testing {

void ensureQtApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "postiva_tests";
  static char* argv[] = {name, nullptr};
  new QCoreApplication(argc, argv);
}

bool runEventsUntil(const std::function<bool()>& done, int timeoutMs) {
  ensureQtApplication();
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

namespace {

// Without time stamp and tag.
std::vector<std::string> utf8Lines(const std::string& folder) {
  std::vector<std::string> lines = readLogLines(folder);
  for (auto& line : lines) {
    if (line.rfind("(MAIL),", 0) == 0) line.erase(0, 7);
    line = platform::toUtf8(line);
  }
  return lines;
}

}  // namespace

SessionHarness::SessionHarness(const std::string& serverHost, const std::string& folder)
    : workName(folder), work(dir / (folder + "/")), host(serverHost) {
  ensureQtApplication();
  writeSettings({});
}

void SessionHarness::writeSettings(const std::vector<std::string>& lines) {
  std::vector<std::string> all = {"[メール同報システム]", "SMTPServer=" + host,
                                  "クライアント名称=client.test", "送信元名称=監視システム",
                                  "送信元メールアドレス=orvis@sender.test"};
  for (const auto& line : lines) {
    std::string key = line.substr(0, line.find('='));
    auto same = std::find_if(all.begin(), all.end(),
                             [&](const std::string& l) { return l.rfind(key + "=", 0) == 0; });
    if (same != all.end()) {
      *same = line;
    } else {
      all.push_back(line);
    }
  }
  writeText(work + "Postiva.ini", sj(platform::joinLinesCrLf(all)));
}

void SessionHarness::writeList(const std::vector<std::string>& lines) {
  writeText(work + "list.txt", sj(platform::joinLinesCrLf(lines)));
}

void SessionHarness::writeMessage(const std::string& type, const std::string& subject,
                                  const std::vector<std::string>& body) {
  writeText(work + "Subject-" + type + ".txt", sj(subject + "\r\n"));
  writeText(work + "Body-" + type + ".txt", sj(platform::joinLinesCrLf(body)));
}

void SessionHarness::writeOneRecipient() {
  writeList({"a@rcpt.test,0"});
  writeMessage("0", "s", {"b"});
}

bool SessionHarness::start(const std::vector<std::string>& args) {
  app = std::make_unique<postiva::PostivaApp>(
      dir.path(), args, postiva::SessionPorts{socket, view, pump, clock, end, stamps});
  return app->start();
}

bool SessionHarness::runPass(const std::function<bool()>& until) {
  auto& timer = session().passTimer();
  if (!timer.enabled()) return false;
  timer.fire();
  return runEventsUntil([&] { return ended() || timer.enabled() || (until && until()); });
}

bool SessionHarness::runToEnd(int maxPasses) {
  for (int pass = 0; pass < maxPasses && !ended(); ++pass) {
    if (!runPass()) return false;
  }
  return ended();
}

std::vector<std::string> SessionHarness::syslog() const {
  return utf8Lines(dir / ("syslog/" + workName + "/"));
}

std::vector<std::string> SessionHarness::sendlog() const {
  return utf8Lines(dir / ("sendlog/" + workName + "/"));
}

bool SessionHarness::logHas(const std::string& line) const {
  auto lines = syslog();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace orvis::testing
