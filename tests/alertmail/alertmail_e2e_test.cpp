// The installed alertmail against a real SMTP server (Debian's aiosmtpd) on
// loopback, with STARTTLS, implicit TLS, AUTH and a CA made for the test.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "child_process.h"
#include "platform/bytes.h"
#include "platform/files.h"
#include "support/temp_dir.h"

namespace orvis::testing {
namespace {

const std::string kPython = "/usr/bin/python3";
constexpr long kRunBoundMs = 60000;

struct ReceivedMail {
  std::map<std::string, std::string> fields;  // UTF-8, decoded by the server
  std::string body;
  std::string raw;
};

// A CA and a server certificate for the test addresses, made once.
class Certificates {
 public:
  Certificates() {
    std::string d = dir.path();
    writeText(d + "ext.cnf",
              "subjectAltName=IP:127.0.1.21,IP:127.0.1.22,IP:127.0.1.23,"
              "IP:127.0.1.24,IP:127.0.1.25,IP:127.0.1.26,IP:127.0.1.30,DNS:localhost\n");
    const std::string key = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes ";
    ok =
        std::system(("cd " + d + " && openssl req -x509" + key +
                     "-keyout ca.key -out ca.pem -days 2"
                     " -subj /CN=alertmail-test-CA -addext basicConstraints=critical,CA:TRUE"
                     " -addext keyUsage=critical,keyCertSign >log 2>&1"
                     " && openssl req" +
                     key +
                     "-keyout server.key -out server.csr -subj /CN=localhost >>log 2>&1"
                     " && openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial"
                     " -out server.pem -days 2 -extfile ext.cnf >>log 2>&1")
                        .c_str()) == 0;
  }
  TempDir dir;
  bool ok = false;
};

Certificates& certificates() {
  static Certificates certs;
  return certs;
}

class SmtpServer {
 public:
  // `options` go to the server as they are (--reject, --cut-at, --busy-at).
  SmtpServer(const std::string& host, int port, const std::string& tls,
             const std::string& auth = "", const std::vector<std::string>& options = {}) {
    std::vector<std::string> argv = {kPython,      ALERTMAIL_TEST_SERVER,
                                     "--host",     host,
                                     "--port",     std::to_string(port),
                                     "--out",      out.path(),
                                     "--tls",      tls,
                                     "--lifetime", "120",
                                     "--cert",     certificates().dir / "server.pem",
                                     "--key",      certificates().dir / "server.key"};
    if (!auth.empty()) argv.insert(argv.end(), {"--auth", auth});
    argv.insert(argv.end(), options.begin(), options.end());
    pid_ = startChild(argv, {"PATH=/usr/bin:/bin"}, out.path(), out / "server.log");
    for (int i = 0; i < 250 && !platform::fileExists(out / "ready"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
    EXPECT_TRUE(platform::fileExists(out / "ready")) << readText(out / "server.log");
  }
  ~SmtpServer() { stopChild(pid_, 10000); }

  std::vector<ReceivedMail> mails() const {
    std::vector<ReceivedMail> mails;
    for (const std::string& name : platform::listFolder(out.path(), "msg-*.txt")) {
      ReceivedMail mail;
      std::string text = readText(out / name);
      size_t bodyAt = text.find("\nBODY=\n");
      for (const std::string& line : platform::splitLines(text.substr(0, bodyAt))) {
        size_t eq = line.find('=');
        mail.fields[line.substr(0, eq)] = line.substr(eq + 1);
      }
      mail.body = text.substr(bodyAt + 7);
      mail.raw = readText(out / (name.substr(0, name.size() - 3) + "eml"));
      mails.push_back(mail);
    }
    return mails;
  }
  std::string authLog() const { return readText(out / "auth.txt"); }

  TempDir out;

 private:
  pid_t pid_ = -1;
};

class AlertmailEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(certificates().ok) << readText(certificates().dir / "log");
    std::filesystem::copy_file(std::string(ORVIS_STAGE_DIR) + "/alertmail", data / "alertmail");
    writeText(data / "mail/list.txt",
              "a@example.jp,0\r\nb@example.jp,1\r\nc@example.jp,0\r\nd@example.jp\r\n");
    writeText(data / "mail/Subject-0.txt",
              sj("【ORVIS】システムからメールグループ[運用]への連絡です。\r\n"));
    writeText(data / "mail/Body-0.txt",
              sj("ORVISよりメッセージがあります。\r\n\r\n.\r\n【内　容】ファイル更新を検出\r\n"));
  }

  void settings(const std::string& host, int port, const std::string& kind,
                const std::string& password = "s3cret") {
    writeText(
        data / "mail/Postiva.ini",
        sj("[メール同報システム]\r\nSMTPServer=" + host +
           "\r\nクライアント名称=orvis-test\r\n"
           "送信元メールアドレス=orvis@example.jp\r\n送信元名称=監視システム\r\nPauseInterval=0\r\n"
           "PauseTime=0\r\nSMTP=" +
           kind + "\r\nSMTPID=alert\r\nSMTPPWD=" + password +
           "\r\nSMTPPORT=" + std::to_string(port) + "\r\n"));
  }

  ChildEnd run(const std::string& group, const std::string& html,
               std::vector<std::string> env = {}) {
    env.push_back("PATH=/usr/bin:/bin");
    std::vector<std::string> argv = {data / "alertmail", data.path(), group};
    if (!html.empty()) argv.push_back(html);
    return waitChild(startChild(argv, env, data.path(), data / "output.txt"), kRunBoundMs);
  }
  std::string caFile() { return "SSL_CERT_FILE=" + (certificates().dir / "ca.pem"); }
  std::vector<std::string> sendLog() { return readLogLines(data / "sendlog/alertmail/"); }
  std::string sysLog() { return platform::joinLinesCrLf(readLogLines(data / "syslog/alertmail/")); }

  TempDir data{kJapaneseFolderName};
};

TEST_F(AlertmailEndToEnd, StartTlsWithLoginReachesOnlyTheGroup) {
  SmtpServer server("127.0.1.21", 10587, "starttls", "alert:s3cret");
  settings("127.0.1.21", 10587, "SMTP-AUTH");
  ChildEnd end = run("0", "0", {caFile()});
  ASSERT_TRUE(end.ended);
  EXPECT_EQ(end.exitCode, 0) << sysLog();

  std::vector<ReceivedMail> mails = server.mails();
  ASSERT_EQ(mails.size(), 2u);
  EXPECT_EQ(mails[0].fields["RCPT TO"], "a@example.jp");
  EXPECT_EQ(mails[1].fields["RCPT TO"], "c@example.jp");
  for (auto& m : mails) {
    EXPECT_EQ(m.fields["MAIL FROM"], "orvis@example.jp");
    EXPECT_EQ(m.fields["TLS"], "yes");
    EXPECT_EQ(m.fields["LOGIN"], "alert");
    EXPECT_EQ(m.fields["SUBJECT"], "【ORVIS】システムからメールグループ[運用]への連絡です。");
    EXPECT_EQ(m.fields["FROM NAME"], "監視システム");
    EXPECT_EQ(m.fields["CONTENT-TYPE"], "text/plain;charset=\"iso-2022-jp\"");
    EXPECT_EQ(m.body,
              "ORVISよりメッセージがあります。\r\n\r\n.\r\n【内　容】ファイル更新を検出\r\n");
    EXPECT_EQ(m.raw.rfind("subject: =?iso-2022-jp?B?", 0), 0u);
    EXPECT_NE(m.raw.find("\r\nDate: "), std::string::npos);
    EXPECT_NE(m.raw.find("\r\nMessage-ID: <"), std::string::npos);
  }
  EXPECT_EQ(sendLog(),
            (std::vector<std::string>{"SEND OK   :a@example.jp", "SEND OK   :c@example.jp"}));
  EXPECT_EQ(server.authLog().find("tls=no"), std::string::npos);
}

TEST_F(AlertmailEndToEnd, PlainSmtpStillUpgradesAndHtmlFlagGivesHtml) {
  SmtpServer server("127.0.1.22", 10587, "starttls");
  settings("127.0.1.22", 10587, "SMTP");
  ChildEnd end = run("1", "1", {caFile()});
  ASSERT_TRUE(end.ended);
  EXPECT_EQ(end.exitCode, 0) << sysLog();
  std::vector<ReceivedMail> mails = server.mails();
  ASSERT_EQ(mails.size(), 1u);
  EXPECT_EQ(mails[0].fields["RCPT TO"], "b@example.jp");
  EXPECT_EQ(mails[0].fields["TLS"], "yes");
  EXPECT_EQ(mails[0].fields["CONTENT-TYPE"], "text/html;charset=\"iso-2022-jp\"");
}

// A refusal stands for its address: the session goes on, and refused
// addresses in a row cost the ones after them nothing.
TEST_F(AlertmailEndToEnd, RefusedRecipientsDoNotStopTheOthers) {
  SmtpServer server("127.0.1.28", 10587, "none", "",
                    {"--reject", "b@example.jp", "--reject", "c@example.jp=450 4.2.0 try later"});
  settings("127.0.1.28", 10587, "SMTP");
  writeText(data / "mail/list.txt",
            "a@example.jp,0\r\nb@example.jp,0\r\nc@example.jp,0\r\nd@example.jp,0\r\n");
  ChildEnd end = run("0", "0");
  ASSERT_TRUE(end.ended);
  EXPECT_EQ(end.exitCode, 1);
  std::vector<ReceivedMail> mails = server.mails();
  ASSERT_EQ(mails.size(), 2u);
  EXPECT_EQ(mails[1].fields["RCPT TO"], "d@example.jp");
  EXPECT_EQ(mails[1].fields["SESSION"], mails[0].fields["SESSION"]);
  EXPECT_EQ(mails[1].fields["TLS"], "no");  // nothing offered, no password to protect
  EXPECT_EQ(
      sendLog(),
      (std::vector<std::string>{
          "SEND OK   :a@example.jp",
          "SEND ERROR:b@example.jp,CAUSE:550 5.1.1 <b@example.jp>: Recipient address rejected",
          "SEND ERROR:c@example.jp,CAUSE:450 4.2.0 try later", "SEND OK   :d@example.jp"}));
  EXPECT_EQ(sysLog().find(sj("接続し直します")), std::string::npos) << sysLog();
}

TEST_F(AlertmailEndToEnd, WrongPasswordGivesSendErrorsAndStatusOne) {
  SmtpServer server("127.0.1.23", 10587, "starttls", "alert:s3cret");
  settings("127.0.1.23", 10587, "SMTP-AUTH", "wrong");
  ChildEnd end = run("0", "0", {caFile()});
  ASSERT_TRUE(end.ended);
  EXPECT_EQ(end.exitCode, 1);
  EXPECT_TRUE(server.mails().empty());
  std::vector<std::string> lines = sendLog();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("SEND ERROR:a@example.jp,CAUSE:535", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind("SEND ERROR:c@example.jp,CAUSE:535", 0), 0u) << lines[1];
}

TEST_F(AlertmailEndToEnd, PlainServerWithoutStartTlsNeverGetsThePassword) {
  SmtpServer server("127.0.1.24", 10587, "none", "alert:s3cret");  // offers AUTH in the clear
  settings("127.0.1.24", 10587, "SMTP-AUTH");
  ChildEnd end = run("0", "0", {caFile()});
  ASSERT_TRUE(end.ended);
  EXPECT_EQ(end.exitCode, 1);
  EXPECT_EQ(server.authLog(), "<missing>");
  EXPECT_TRUE(server.mails().empty());
  std::vector<std::string> lines = sendLog();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("STARTTLS not offered"), std::string::npos) << lines[0];
}

TEST_F(AlertmailEndToEnd, UntrustedCertificateCarriesPlainMailButNeverThePassword) {
  // The system's authorities only: the test CA is unknown to them.
  SmtpServer server("127.0.1.25", 10587, "starttls");
  // Without a password, STARTTLS is taken as mail servers take it, and the
  // log says the certificate went unverified.
  settings("127.0.1.25", 10587, "SMTP");
  writeText(data / "mail/list.txt", "a@example.jp,0\r\n");
  ChildEnd plain = run("0", "0");
  ASSERT_TRUE(plain.ended);
  EXPECT_EQ(plain.exitCode, 0) << sysLog();
  ASSERT_EQ(server.mails().size(), 1u);
  EXPECT_EQ(server.mails()[0].fields["TLS"], "yes");
  EXPECT_NE(sysLog().find(sj("送信OK(TLS,証明書未検証):a@example.jp,250")), std::string::npos)
      << sysLog();

  // With one, the certificate must verify: no fallback to the clear either.
  settings("127.0.1.25", 10587, "SMTP-AUTH");
  ChildEnd login = run("0", "0");
  ASSERT_TRUE(login.ended);
  EXPECT_EQ(login.exitCode, 1);
  EXPECT_EQ(server.mails().size(), 1u);
  EXPECT_EQ(server.authLog(), "<missing>");
  ASSERT_EQ(sendLog().size(), 2u);
  EXPECT_NE(sendLog()[1].find("SEND ERROR:a@example.jp,CAUSE:SSL certificate problem"),
            std::string::npos)
      << sendLog()[1];
}

TEST_F(AlertmailEndToEnd, ServerThatEndsTheSessionGetsANewOneButARefusalStands) {
  // The third message of every connection meets a 421, or a connection
  // closed without a word; c is refused for good.
  writeText(data / "mail/list.txt",
            "a@example.jp,0\r\nb@example.jp,0\r\nc@example.jp,0\r\nd@example.jp,0\r\n");
  for (const char* ending : {"--busy-at", "--cut-at"}) {
    SCOPED_TRACE(ending);
    SmtpServer server("127.0.1.29", 10587, "none", "", {ending, "2", "--reject", "c@example.jp"});
    settings("127.0.1.29", 10587, "SMTP");
    ChildEnd end = run("0", "0");
    ASSERT_TRUE(end.ended);
    EXPECT_EQ(end.exitCode, 1);
    std::vector<ReceivedMail> mails = server.mails();
    ASSERT_EQ(mails.size(), 3u);
    EXPECT_EQ(mails[2].fields["RCPT TO"], "d@example.jp");
    EXPECT_NE(mails[2].fields["SESSION"], mails[0].fields["SESSION"]);
    std::vector<std::string> lines = sendLog();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2],
              "SEND ERROR:c@example.jp,CAUSE:550 5.1.1 <c@example.jp>: Recipient address rejected");
    EXPECT_EQ(lines[3], "SEND OK   :d@example.jp");
    EXPECT_NE(sysLog().find(sj("サーバーが接続を終了しました。接続し直します(1/3)")),
              std::string::npos)
        << sysLog();
    std::filesystem::remove_all(data / "sendlog");
    std::filesystem::remove_all(data / "syslog");
  }
}

TEST_F(AlertmailEndToEnd, TextsFromOutsideReachTheLogsInShiftJis) {
  SmtpServer server("127.0.1.30", 10587, "starttls", "alert:s3cret",
                    {"--reject", "c@example.jp=550 5.1.1 宛先が見つかりません"});
  settings("127.0.1.30", 10587, "SMTP-AUTH");
  ChildEnd end = run("0", "0", {caFile()});
  ASSERT_TRUE(end.ended);
  EXPECT_EQ(end.exitCode, 1);
  // A certificate file that holds none, in a folder of the data folder.
  writeText(data / "証明書/ca.pem", "not a certificate\n");
  end = run("0", "0", {"SSL_CERT_FILE=" + data / "証明書/ca.pem"});
  ASSERT_TRUE(end.ended);
  EXPECT_EQ(end.exitCode, 1);

  std::vector<std::string> lines = sendLog();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "SEND ERROR:c@example.jp,CAUSE:" + sj("550 5.1.1 宛先が見つかりません"));
  EXPECT_NE(lines[2].find(sj(data / "証明書/ca.pem")), std::string::npos) << lines[2];
  for (const std::string& line : lines) EXPECT_TRUE(readsAsCp932(line)) << line;
  EXPECT_TRUE(readsAsCp932(sysLog()));
}

TEST_F(AlertmailEndToEnd, ImplicitTlsOnPort465) {
  SmtpServer server("127.0.1.26", 465, "implicit", "alert:s3cret");
  settings("127.0.1.26", 465, "SMTP-AUTH");
  ChildEnd end = run("1", "0", {caFile()});
  ASSERT_TRUE(end.ended);
  EXPECT_EQ(end.exitCode, 0) << sysLog();
  ASSERT_EQ(server.mails().size(), 1u);
  EXPECT_EQ(server.mails()[0].fields["TLS"], "yes");
  EXPECT_EQ(server.mails()[0].fields["LOGIN"], "alert");
}

TEST_F(AlertmailEndToEnd, ServerThatNeverAnswersEndsWithinTheTimeOuts) {
  // Accepts connections (the kernel completes them) but never says a word.
  int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  int on = 1;
  ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(10590);
  ::inet_pton(AF_INET, "127.0.1.27", &addr.sin_addr);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(::listen(listener, 8), 0);
  settings("127.0.1.27", 10590, "SMTP");

  ChildEnd end =
      run("0", "0", {"ALERTMAIL_CONNECT_TIMEOUT_MS=1000", "ALERTMAIL_MESSAGE_TIMEOUT_MS=2000"});
  ::close(listener);
  ASSERT_TRUE(end.ended) << "alertmail did not end";
  EXPECT_EQ(end.exitCode, 1);
  std::vector<std::string> lines = sendLog();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("timed out"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1].rfind("SEND ERROR:c@example.jp,CAUSE:", 0), 0u);
}

TEST_F(AlertmailEndToEnd, BadArgumentsAreLoggedAndEndAtOnce) {
  ChildEnd end = run("zero", "0");
  ASSERT_TRUE(end.ended);
  EXPECT_EQ(end.exitCode, 2);
  EXPECT_NE(sysLog().find(sj("メールグループ番号が不正です:zero,EXIT")), std::string::npos)
      << sysLog();
}

}  // namespace
}  // namespace orvis::testing
