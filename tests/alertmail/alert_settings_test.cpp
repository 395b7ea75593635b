#include "alertmail/alert_settings.h"

#include <gtest/gtest.h>

#include "alertmail/alert_request.h"
#include "support/temp_dir.h"

namespace orvis::alertmail {
namespace {

using testing::sj;

SettingsResult read(const std::string& keys) {
  return readAlertSettings(platform::IniDocument::parse(sj("[メール同報システム]\r\n") + keys));
}

TEST(AlertSettings, ReadsTheKeysTheMonitorWrites) {
  SettingsResult r =
      read(sj("SMTPServer= mail.example.jp \r\nクライアント名称=orvis-host\r\n"
              "送信元メールアドレス=orvis@example.jp\r\n送信元名称=監視システム\r\n"
              "PauseInterval=0\r\nSMTP=SMTP-AUTH\r\nSMTPID=user\r\nSMTPPWD=secret\r\n"
              "SMTPPORT=2525\r\n"));
  ASSERT_TRUE(r.settings) << r.error;
  EXPECT_EQ(r.settings->server, "mail.example.jp");
  EXPECT_EQ(r.settings->clientName, "orvis-host");
  EXPECT_EQ(r.settings->senderAddress, "orvis@example.jp");
  EXPECT_EQ(r.settings->senderName, sj("監視システム"));
  EXPECT_TRUE(r.settings->useAuth);
  EXPECT_EQ(r.settings->user, "user");
  EXPECT_EQ(r.settings->password, "secret");
  EXPECT_EQ(r.settings->port, 2525);
}

TEST(AlertSettings, DefaultsForPortAndOddValues) {
  const std::string base = sj("SMTPServer=h\r\n送信元メールアドレス=a@b\r\nSMTPID=u\r\n");
  EXPECT_EQ(read(base + "SMTP=SMTP\r\n").settings->port, 25);
  EXPECT_EQ(read(base).settings->port, 25);
  EXPECT_EQ(read(base + "SMTP=smtp-auth\r\nSMTPPORT=\r\n").settings->port, 587);
  SettingsResult odd = read(base + "SMTP=POP-BEFORE\r\n" + sj("クライアント名称=監視 端末\r\n"));
  EXPECT_FALSE(odd.settings->useAuth);
  EXPECT_TRUE(odd.settings->clientName.empty());  // not a host name: the machine's name is used
  EXPECT_EQ(odd.notes.size(), 2u);
}

TEST(AlertSettings, UnusableSettingsAreErrors) {
  const std::string server = "SMTPServer=h\r\n";
  const std::string sender = sj("送信元メールアドレス=a@b\r\n");
  for (const std::string& keys :
       {sender, server, "SMTPServer=h/x@y\r\n" + sender, server + sender + "SMTPPORT=abc\r\n",
        server + sender + "SMTPPORT=70000\r\n", server + sender + "SMTP=SMTP-AUTH\r\n"}) {
    SettingsResult r = read(keys);
    EXPECT_FALSE(r.settings) << keys;
    EXPECT_FALSE(r.error.empty()) << keys;
  }
  testing::TempDir dir;
  EXPECT_FALSE(loadAlertSettings(dir / "Postiva.ini").error.empty());
}

TEST(AlertArguments, DataFolderGroupAndHtmlFlag) {
  ParsedArguments p = parseArguments({"/data", "2", "1"});
  ASSERT_TRUE(p.request);
  EXPECT_EQ(p.request->dataFolder, "/data/");
  EXPECT_EQ(p.request->group, "2");
  EXPECT_TRUE(p.request->html);
  // An empty HTML flag leaves no word on the monitor's command line.
  p = parseArguments({"/data/", "0"});
  ASSERT_TRUE(p.request);
  EXPECT_FALSE(p.request->html);
  p = parseArguments({"/data/", "0", "yes"});
  EXPECT_FALSE(p.request->html);
  EXPECT_EQ(p.notes.size(), 1u);
  for (const auto& bad : std::vector<std::vector<std::string>>{{},
                                                               {"/data/"},
                                                               {"/data/", "0", "1", "x"},
                                                               {"/data/", "-1", "0"},
                                                               {"/data/", "a", "0"},
                                                               {"", "0"}}) {
    EXPECT_FALSE(parseArguments(bad).request);
    EXPECT_FALSE(parseArguments(bad).error.empty());
  }
}

}  // namespace
}  // namespace orvis::alertmail
