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

// Runs the installed program in the harness's folder, without a display
// unless `env` names one; `whileRunning` is called as the run goes on.
ProgramRun runPostiva(SessionHarness& h, const QStringList& args,
                      const std::vector<std::pair<QString, QString>>& extraEnv = {},
                      const std::function<void(QProcess&)>& whileRunning = nullptr) {
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
  for (const auto& [name, value] : extraEnv) env.insert(name, value);
  process.setProcessEnvironment(env);
  process.start(QString::fromStdString(program), args);
  ProgramRun run;
  if (!process.waitForStarted(5000)) return run;
  // The scripted server lives in this event loop; keep it turning.
  run.finished = runEventsUntil(
      [&] {
        if (whileRunning && process.state() == QProcess::Running) whileRunning(process);
        return process.state() == QProcess::NotRunning;
      },
      20000);
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

// A display that a stale session names cannot stop the run, and the work
// folder is the program's own argument whatever it looks like: the toolkit
// never sees it (it would take "-reverse" for an option of its own).
TEST(PostivaProgram, RunsOnWhateverTheWorkFolderIsNamedAndWithAnUnreachableDisplay) {
  ScriptedSmtpServer server("127.0.0.43");
  ASSERT_FALSE(orvis::platform::pathExists("/tmp/.X11-unix/X87"));  // no X server on :87
  const std::string unreachable = "画面に接続できません(DISPLAY=:87)。画面なしで実行します。";
  for (std::string folder : {"-reverse", "-style=fusion", "監視メール"}) {
    SCOPED_TRACE(folder);
    SessionHarness h("127.0.0.43", folder);
    h.writeOneRecipient();
    ProgramRun run = runPostiva(h, {QString::fromStdString(folder)}, {{"DISPLAY", ":87"}});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    auto log = h.syslog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 3),
              (std::vector<std::string>{unreachable, "送信対象リスト(1)件です。",
                                        "起動完了(" + folder + ") ver.　（Ver1.2.0.3）"}));
    EXPECT_EQ(log.back(), "送信終了");
  }
}

TEST(PostivaProgram, TerminationWhileWaitingForAReplyEndsAsAnAbortInTheLogs) {
  ScriptedSmtpServer server("127.0.0.47");
  server.on("HELO", {});  // never answered
  SessionHarness h("127.0.0.47");
  h.writeOneRecipient();
  bool sent = false;
  ProgramRun run = runPostiva(h, {"mail"}, {}, [&](QProcess& p) {
    if (!sent && server.count("HELO client.test") == 1) {
      p.terminate();
      sent = true;
    }
  });
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(h.logHas("中断要求(SIGTERM)"));
  EXPECT_EQ(h.sendlog().back(), "EXIT.");
  EXPECT_EQ(h.sendlog().at(h.sendlog().size() - 2), "ABORT.");
}
