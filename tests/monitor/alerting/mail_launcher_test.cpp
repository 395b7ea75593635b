// The mailer launch against a real child: a stand-in "alertmail" script in
// the data folder that records its arguments and working folder.

#include "monitor/alerting/mail_launcher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "mail/mailer_limits.h"
#include "mail_folder.h"
#include "monitor/alerting/alert_mail.h"
#include "platform/bytes.h"
#include "platform/files.h"
#include "platform/posix_process_launcher.h"
#include "support/services_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

class MailLauncherTest : public ::testing::Test {
 protected:
  void installStandIn(const std::string& script) {
    const std::string path = rig.path("alertmail");
    writeText(path, "#!/bin/sh\n" + script);
    ::chmod(path.c_str(), 0755);
  }

  ServicesRig rig;
  platform::PosixProcessLauncher posix;
  Services services{rig.hostWith(rig.dir.path(), posix, rig.processes, rig.disks)};
  MailLauncher launcher{services};
};

TEST_F(MailLauncherTest, RunsTheMailerOfTheDataFolderWithDGroupAndFlagInD) {
  // Written relative to the working folder; the last file only once the
  // stand-in has dawdled, so the caller must have waited for its end.
  installStandIn(
      "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > args.txt\n"
      "pwd > cwd.txt\n"
      "sleep 0.3\n"
      "echo done > finished.txt\n");
  launcher.runMailer("1", "0");
  const std::string d = rig.dir.path();
  EXPECT_EQ(launcher.commandLine("1", "0"), d + "alertmail " + d + " 1 0");
  EXPECT_EQ(readLines(rig.path("args.txt")), (std::vector<std::string>{d, "1", "0"}));
  EXPECT_EQ(readLines(rig.path("cwd.txt")), (std::vector<std::string>{d.substr(0, d.size() - 1)}));
  EXPECT_TRUE(platform::fileExists(rig.path("finished.txt")));
  EXPECT_EQ(rig.logLines(), (std::vector<std::string>{"メール送信起動成功"}));
  EXPECT_EQ(rig.clock.totalSleptMs(), MailLauncher::kSettleMs);
  // Once before the pause, then between the 50 ms polls.
  EXPECT_GE(rig.pump.count(), 2);
  EXPECT_FALSE(launcher.mailerRunning());
}

TEST(MailLauncherFolder, AnyDataFolderNameStillReachesTheMailer) {
  for (const char* folder : {"my orvis/", "da\"ta\\\" x/", "trail\\/"}) {
    ServicesRig rig;
    const std::string d = rig.dir.path() + folder;
    platform::makeFolders(d);
    writeText(d + "alertmail",
              "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > args.txt\n");
    ::chmod((d + "alertmail").c_str(), 0755);
    platform::PosixProcessLauncher posix;
    Services services{rig.hostWith(d, posix, rig.processes, rig.disks)};
    MailLauncher launcher(services);
    launcher.runMailer("2", "1");
    EXPECT_EQ(readLines(d + "args.txt"), (std::vector<std::string>{d, "2", "1"})) << folder;
  }
}

TEST_F(MailLauncherTest, TheMailersExitStatusIsNotTheCallersConcern) {
  installStandIn("exit 3\n");
  launcher.runMailer("0", "1");
  EXPECT_EQ(rig.logLines(), (std::vector<std::string>{"メール送信起動成功"}));
}

TEST_F(MailLauncherTest, MissingMailerLogsNothingAndLetsTheAlertGoOn) {
  launcher.runMailer("0", "0");
  EXPECT_TRUE(rig.logLines().empty());
  EXPECT_EQ(rig.pump.count(), 0);
  EXPECT_EQ(rig.clock.totalSleptMs(), 0);

  // An alert composes its files all the same and returns to the check.
  JobTable jobs;
  JobRecord row;
  row.number = "1";
  row.mailGroup = "0";
  jobs.append(row);
  writeText(rig.path("mail/list.txt"), "a@x.test,0\r\n");
  AlertFiles files(rig);
  AlertMail alerts(rig.services.log, rig.clock, jobs, launcher, files.mail);
  alerts.sendAlert(1, "u", "m", "n", "");
  EXPECT_TRUE(platform::fileExists(rig.path("mail/Body-0.txt")));
  EXPECT_TRUE(rig.logLines().empty());
}

// A mailer is ended only once it clearly outlives its own worst case: for n
// recipients alertmail may take twice 60 s per recipient, and 60 s for QUIT.
TEST_F(MailLauncherTest, TimeLimitLiesClearlyBeyondTheMailersOwnWorstCase) {
  std::string list;
  for (int n : {0, 1, 3}) {
    while (static_cast<int>(platform::splitLines(list).size()) < n) list += "r@x.test,0\r\n";
    writeText(rig.path("mail/list.txt"), list);
    const long long worst = n * 2 * 60'000LL + 60'000;
    EXPECT_EQ(mail::alertMailerWorstCaseMs(n), worst);
    EXPECT_GE(launcher.timeLimitMs("0"), worst + 30'000) << n;
  }
}

TEST_F(MailLauncherTest, MailerThatIsNoProgramIsNotStarted) {
  writeText(rig.path("alertmail"), "not executable\n");
  launcher.runMailer("0", "0");
  EXPECT_TRUE(rig.logLines().empty());
}

}  // namespace
