// The installed Postiva, run as an operator or cron runs it: copied into a
// folder of its own, which is then its program folder.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include "platform/files.h"
#include "scripted_smtp_server.h"
#include "session_harness.h"

using namespace orvis::testing;

namespace {

struct ProgramRun {
  int exitCode = -1;
  bool finished = false;
  std::string out, err;
};

// Runs the installed program in the harness's folder, without a display.
ProgramRun runPostiva(SessionHarness& h, const QStringList& args) {
  std::string program = h.dir / "Postiva";
  if (!orvis::platform::fileExists(program)) {
    orvis::platform::copyFile(std::string(ORVIS_STAGE_DIR) + "/Postiva", program);
    QFile::setPermissions(QString::fromStdString(program),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"}) {
    env.remove(name);
  }
  process.setProcessEnvironment(env);
  process.start(QString::fromStdString(program), args);
  ProgramRun run;
  if (!process.waitForStarted(5000)) return run;
  // The scripted server lives in this event loop; keep it turning.
  run.finished = runEventsUntil([&] { return process.state() == QProcess::NotRunning; }, 20000);
  if (!run.finished) {
    process.kill();
    process.waitForFinished(2000);
    return run;
  }
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = process.readAllStandardOutput().toStdString();
  run.err = process.readAllStandardError().toStdString();
  return run;
}

}  // namespace

TEST(PostivaProgram, WithoutExactlyOneArgumentItEndsAndWritesNothing) {
  SessionHarness h("127.0.0.30");
  h.writeOneRecipient();
  for (const QStringList& args : {QStringList{}, QStringList{"mail", "mail"}}) {
    ProgramRun run = runPostiva(h, args);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out + run.err, "");
    EXPECT_FALSE(orvis::platform::pathExists(h.dir / "syslog"));
    EXPECT_FALSE(orvis::platform::pathExists(h.dir / "sendlog"));
  }
}

TEST(PostivaProgram, MailsEveryRecipientOffscreenAndEnds) {
  ScriptedSmtpServer server("127.0.0.31");
  ASSERT_TRUE(server.listening());
  SessionHarness h("127.0.0.31");
  h.writeList({"a@rcpt.test,0", "", "b@rcpt.test,1"});
  h.writeMessage("0", "監視通知", {"変更を検出しました", "."});
  h.writeMessage("1", "別の通知", {"二つ目"});
  ProgramRun run = runPostiva(h, {"mail"});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out + run.err, "");
  EXPECT_EQ(h.syslog().back(), "送信終了");
  EXPECT_EQ(h.sendlog(), (std::vector<std::string>{"＃＃＃＃＃　送信スタート　＃＃＃＃＃",
                                                   "SEND OK   :a@rcpt.test",
                                                   "SEND OK   :b@rcpt.test", "EXIT."}));
  ASSERT_TRUE(runEventsUntil([&] { return server.count("QUIT") == 1; }));
  ASSERT_EQ(server.messages.size(), 2u);
  EXPECT_NE(server.messages[0].find("\r\n..\r\n"), std::string::npos);
}

TEST(PostivaProgram, RefusalEndsWithFailureAfterItsQuitWentOut) {
  ScriptedSmtpServer server("127.0.0.32");
  server.on("DATA", {{"554 no\r\n"}});
  SessionHarness h("127.0.0.32");
  h.writeOneRecipient();
  ProgramRun run = runPostiva(h, {"mail"});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(h.sendlog().back(), "EXIT.");
  EXPECT_TRUE(runEventsUntil([&] { return server.count("QUIT") == 1; }));
}

TEST(PostivaProgram, MissingSettingsEndWithFailure) {
  SessionHarness h("127.0.0.33");
  orvis::platform::removeFile(h.work + "Postiva.ini");
  ProgramRun run = runPostiva(h, {"mail"});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(h.syslog(), (std::vector<std::string>{"初期化ファイルが見つかりません(mail)", "EXIT"}));
}
