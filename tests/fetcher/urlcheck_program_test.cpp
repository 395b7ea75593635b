// The installed urlcheck, started as the monitor starts it, against page
// servers, a proxy and a silent port on loopback.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/posix_process_launcher.h"
#include "script_server.h"
#include "support/temp_dir.h"

using namespace orvis::platform;
using namespace orvis::testing;

namespace {

// Sets (or, given nullopt, removes) an environment variable for the life of
// the object; urlcheck inherits our environment.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

bool contains(const std::vector<std::string>& lines, const std::string& part) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

class UrlcheckProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    // The data folder as installed: the program, its settings, temp/.
    ASSERT_TRUE(copyFile(ORVIS_STAGE_DIR "/urlcheck", data / "urlcheck"));
    ::chmod((data / "urlcheck").c_str(), 0755);
    ASSERT_TRUE(makeFolders(data / "temp"));
    ASSERT_TRUE(makeFolders(data / "pages"));
  }

  // The monitor's command line: "F" + "urlcheck " + URI + " \"" + F +
  // "temp/srctemp.txt\" " + USEPROXY, in F. Returns the exit status.
  int fetch(const std::string& uri, const std::string& useProxy = "0") {
    return run(program() + uri + " \"" + output() + "\" " + useProxy);
  }

  // `boundMs` lies far beyond the program's own time-out: a run that does
  // not end by itself fails, it does not stall the suite.
  int run(const std::string& commandLine, int boundMs = 60000) {
    auto launched = PosixProcessLauncher().launch(commandLine, data.path(), WindowMode::Hidden);
    EXPECT_TRUE(launched) << launched.error;
    if (!launched) return -1;
    for (int waited = 0; waited < boundMs; waited += 50) {
      if (launched.handle->wait(50) != kWaitTimeout)
        return launched.handle->exitCode().value_or(-1);
    }
    ::kill(launched.handle->pid(), SIGKILL);
    ADD_FAILURE() << "urlcheck did not end: " << commandLine;
    return -1;
  }

  void page(const std::string& name, const std::string& bytes, const std::string& type) {
    writeText(data / "pages/" + name, bytes);
    writeText(data / "pages/" + name + ".type", type);
  }

  std::string program() const { return "\"" + data / "urlcheck\" "; }
  std::string output() const { return data / "temp/srctemp.txt"; }
  std::string result() const { return readText(output()); }
  bool hasResult() const { return pathExists(output()); }
  std::vector<std::string> log() const { return readLogLines(data / "syslog/urlcheck"); }

  TempDir data{kJapaneseFolderName};
};

const std::string kUtf8Page =
    "<html><body>\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x9A\xE3\x83\xBC"
    "\xE3\x82\xB8 \xF0\x9F\x98\x80</body></html>\r\n";
const std::string kUtf8PageInCp932 =
    "<html><body>" + sj("日本語のページ") + " &#128512;</body></html>\r\n";

}  // namespace

TEST_F(UrlcheckProgram, Utf8PageArrivesInShiftJis) {
  page("utf8", kUtf8Page, "text/html; charset=utf-8");
  ScriptServer pages(data.path(), "pages", {"pages", data / "pages"});
  ASSERT_NE(pages.port(), 0);

  EXPECT_EQ(fetch(pages.url("/utf8")), 0);
  EXPECT_EQ(result(), kUtf8PageInCp932);
  EXPECT_EQ(pages.requests(), std::vector<std::string>{"GET /utf8 UA=NewORVIS Connection"});
  auto lines = log();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("(urlcheck)," + pages.url("/utf8") + " -> HTTP 200, 54 bytes, ", 0), 0u)
      << lines[0];
  EXPECT_NE(lines[0].find("utf-8 (Content-Type)"), std::string::npos);
}

TEST_F(UrlcheckProgram, ShiftJisPageUnchangedOtherCharsetsConverted) {
  std::string sjis = "<html>" + sj("①～表示テスト") + "\x81\xFF</html>";
  page("sjis", sjis, "text/html; charset=Shift_JIS");
  page("eucjp",
       "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=EUC-JP\"></head>"
       "\xC6\xFC\xCB\xDC\xB8\xEC</html>",
       "text/html");
  ScriptServer pages(data.path(), "pages", {"pages", data / "pages"});
  ASSERT_NE(pages.port(), 0);

  EXPECT_EQ(fetch(pages.url("/sjis")), 0);
  EXPECT_EQ(result(), sjis);
  EXPECT_EQ(fetch(pages.url("/eucjp")), 0);
  EXPECT_EQ(result(),
            "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
            "charset=EUC-JP\"></head>" +
                sj("日本語") + "</html>");
  EXPECT_TRUE(contains(log(), "euc-jp (meta)"));
}

TEST_F(UrlcheckProgram, ErrorAnswersAndDeadServersLeaveNoFile) {
  ScriptServer pages(data.path(), "pages", {"pages", data / "pages"});
  ASSERT_NE(pages.port(), 0);
  for (std::string path : {"/status/404", "/status/500", "/missing", "/loop"}) {
    writeText(output(), "page of the last check");
    EXPECT_EQ(fetch(pages.url(path)), 1) << path;
    EXPECT_FALSE(hasResult()) << path;
  }
  auto lines = log();
  EXPECT_TRUE(contains(lines, sj("取得失敗,") + pages.url("/status/404") + ",HTTP 404"));
  EXPECT_TRUE(contains(lines, sj("取得失敗,") + pages.url("/status/500") + ",HTTP 500"));
  EXPECT_TRUE(contains(lines, "Maximum (10) redirects followed"));
  // The first request and ten redirections, no more.
  auto requests = pages.requests();
  EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                          [](const std::string& r) { return r.rfind("GET /loop ", 0) == 0; }),
            11);

  writeText(output(), "page of the last check");
  std::string refused = "http://127.0.0.1:" + std::to_string(closedPort()) + "/";
  EXPECT_EQ(fetch(refused), 1);
  EXPECT_FALSE(hasResult());
  EXPECT_TRUE(contains(log(), sj("取得失敗,") + refused + ",Failed to connect"));
}

TEST_F(UrlcheckProgram, RedirectionFollowedAndBlankInTheAddress) {
  page("utf8", kUtf8Page, "text/html; charset=utf-8");
  page("my page", "<p>blank</p>", "text/html");
  ScriptServer pages(data.path(), "pages", {"pages", data / "pages"});
  ASSERT_NE(pages.port(), 0);

  EXPECT_EQ(fetch(pages.url("/redirect?to=/utf8")), 0);
  EXPECT_EQ(result(), kUtf8PageInCp932);
  // Unquoted on the command line, the address arrives in two pieces; quoted
  // by the Windows rules, whole, with every blank and quote it holds.
  EXPECT_EQ(fetch(pages.url("/my page")), 0);
  EXPECT_EQ(result(), "<p>blank</p>");
  EXPECT_EQ(fetch("\"" + pages.url("/my  \\\"page") + "\""), 1);
  EXPECT_EQ(
      pages.requests(),
      (std::vector<std::string>{
          "GET /redirect?to=/utf8 UA=NewORVIS Connection", "GET /utf8 UA=NewORVIS Connection",
          "GET /my%20page UA=NewORVIS Connection", "GET /my%20%20%22page UA=NewORVIS Connection"}));
  EXPECT_TRUE(contains(log(), pages.url("/my%20page") + " -> HTTP 200"));
}

TEST_F(UrlcheckProgram, ProxyOnlyWithFlagOneNeverFromTheEnvironment) {
  page("utf8", kUtf8Page, "text/html; charset=utf-8");
  ScriptServer pages(data.path(), "pages", {"pages", data / "pages"});
  ScriptServer proxy(data.path(), "proxy", {"proxy"});
  ASSERT_NE(pages.port(), 0);
  ASSERT_NE(proxy.port(), 0);
  writeText(data / "ORVIS.ini",
            "[COMMON]\r\nUSERAGENT=Watcher/2.0\r\nPROXYIP=127.0.0.1\r\nPROXYPORT=" +
                std::to_string(proxy.port()) + "\r\n");
  std::string proxyUrl = "http://127.0.0.1:" + std::to_string(proxy.port());

  {
    // Proxies in the environment are not ours to use.
    ScopedEnv a("http_proxy", proxyUrl), b("HTTP_PROXY", proxyUrl), c("ALL_PROXY", proxyUrl);
    EXPECT_EQ(fetch(pages.url("/utf8"), "0"), 0);
  }
  EXPECT_TRUE(proxy.requests().empty());
  EXPECT_EQ(result(), kUtf8PageInCp932);

  {
    ScopedEnv a("no_proxy", "127.0.0.1,localhost"), b("NO_PROXY", "*");
    EXPECT_EQ(fetch(pages.url("/utf8"), "1"), 0);
  }
  EXPECT_EQ(proxy.requests(), std::vector<std::string>{"GET " + pages.url("/utf8")});
  EXPECT_EQ(result(), kUtf8PageInCp932);
  EXPECT_EQ(pages.requests(),
            (std::vector<std::string>{"GET /utf8 UA=Watcher/2.0", "GET /utf8 UA=Watcher/2.0"}));
  EXPECT_TRUE(contains(log(), ", proxy 127.0.0.1:" + std::to_string(proxy.port())));
}

TEST_F(UrlcheckProgram, SilentServerEndsAfterTheTimeOutWithNoFile) {
  SilentServer silent;
  ASSERT_NE(silent.port(), 0);
  writeText(output(), "page of the last check");
  ScopedEnv shortTimeOut("URLCHECK_TIMEOUT_SECONDS", "2");
  EXPECT_EQ(fetch("http://127.0.0.1:" + std::to_string(silent.port()) + "/"), 1);
  EXPECT_FALSE(hasResult());
  EXPECT_TRUE(contains(log(), "Operation timed out after"));
}

TEST_F(UrlcheckProgram, HttpsVerifiedAgainstTrustedAuthoritiesOnly) {
  // A certificate for 127.0.0.1 that no system authority signed.
  ASSERT_EQ(run("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
                "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout \"" +
                data / "key.pem" + "\" -out \"" + data / "cert.pem\""),
            0);
  page("utf8", kUtf8Page, "text/html; charset=utf-8");
  ScriptServer pages(data.path(), "tls",
                     {"pages", data / "pages", data / "cert.pem", data / "key.pem"});
  ASSERT_NE(pages.port(), 0);
  std::string url = "https://127.0.0.1:" + std::to_string(pages.port()) + "/utf8";

  {
    ScopedEnv none("SSL_CERT_FILE", std::nullopt);
    EXPECT_EQ(fetch(url), 1);
  }
  EXPECT_FALSE(hasResult());
  EXPECT_TRUE(contains(log(), "certificate"));
  {
    // A named file that is not there leaves the system's authorities, as
    // in alertmail: the page fails on its certificate, not on the file.
    ScopedEnv missing("SSL_CERT_FILE", data / "missing.pem");
    EXPECT_EQ(fetch(url), 1);
  }
  EXPECT_TRUE(contains(log(), sj("SSL_CERT_FILEのファイルがありません")));
  EXPECT_FALSE(contains(log(), "error setting certificate"));

  ScopedEnv trusted("SSL_CERT_FILE", data / "cert.pem");
  EXPECT_EQ(fetch(url), 0);
  EXPECT_EQ(result(), kUtf8PageInCp932);
}

TEST_F(UrlcheckProgram, TooFewArgumentsIsAUsageError) {
  EXPECT_EQ(run("/bin/sh -c \"exec '" + data / "urlcheck' '" + output() + "' 0 2>usage.txt\""), 2);
  EXPECT_NE(readText(data / "usage.txt").find("usage: urlcheck URI OUTPUT-FILE USEPROXY"),
            std::string::npos);
  EXPECT_FALSE(hasResult());
  EXPECT_EQ(log(), std::vector<std::string>{
                       "(urlcheck)," + sj("引数不足(2個),urlcheck URI 出力ファイル USEPROXY")});
}

TEST_F(UrlcheckProgram, PageOfCharactersShiftJisCannotHoldIsWrittenWithinTheTimeOut) {
  // 4 MiB of Hangul: each character becomes a character reference.
  std::string hangul;
  for (int i = 0; i < 1400000; ++i) hangul += "\xED\x95\x9C";
  page("korean", hangul, "text/html; charset=utf-8");
  ScriptServer pages(data.path(), "pages", {"pages", data / "pages"});
  ASSERT_NE(pages.port(), 0);

  ScopedEnv timeOut("URLCHECK_TIMEOUT_SECONDS", "5");
  EXPECT_EQ(run(program() + pages.url("/korean") + " \"" + output() + "\" 0", 20000), 0);
  std::string expected;
  for (int i = 0; i < 1400000; ++i) expected += "&#54620;";
  EXPECT_TRUE(result() == expected) << result().size();
}

TEST_F(UrlcheckProgram, OutputOutsideTempIsRefusedAndNothingIsTouched) {
  page("utf8", kUtf8Page, "text/html; charset=utf-8");
  ScriptServer pages(data.path(), "pages", {"pages", data / "pages"});
  ASSERT_NE(pages.port(), 0);
  writeText(data / "ORVIS.ini", "[COMMON]\r\nUSERAGENT=Watcher/2.0\r\n");
  std::string url = pages.url("/utf8");
  // A setting as output, by name or through temp/, temp/ itself, or the word
  // the old command line made of a URI with a blank and an empty USEPROXY.
  for (std::string words : {std::string("ORVIS.ini 1"), "\"" + data / "temp/../ORVIS.ini\" 1",
                            "\"" + data / "temp/\" 1", "ORVIS.ini \"" + output() + "\""}) {
    EXPECT_EQ(run(program() + url + " " + words), 2) << words;
  }
  EXPECT_EQ(readText(data / "ORVIS.ini"), "[COMMON]\r\nUSERAGENT=Watcher/2.0\r\n");
  EXPECT_TRUE(pathExists(data / "temp"));
  EXPECT_TRUE(pages.requests().empty());
  auto lines = log();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "(urlcheck)," + sj("出力ファイルがデータフォルダのtemp/にありません,") +
                          toCp932(data / "temp/../ORVIS.ini"));

  // The monitor's own command line still works.
  EXPECT_EQ(fetch(url, "1"), 0);
  EXPECT_EQ(result(), kUtf8PageInCp932);
}

TEST_F(UrlcheckProgram, InternationalHostReachesTheWireAndTheLogInItsOwnForm) {
  ScriptServer proxy(data.path(), "proxy", {"proxy"});
  ASSERT_NE(proxy.port(), 0);
  writeText(data / "ORVIS.ini",
            "[COMMON]\r\nPROXYIP=127.0.0.1\r\nPROXYPORT=" + std::to_string(proxy.port()) + "\r\n");
  EXPECT_EQ(fetch("http://日本語.test/ページ", "1"), 1);
  EXPECT_EQ(proxy.requests(), std::vector<std::string>{"GET http://xn--wgv71a119e.test/"
                                                       "%E3%83%9A%E3%83%BC%E3%82%B8"});
  auto lines = log();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(
      lines[0].rfind(
          "(urlcheck)," + sj("http://日本語.test/") + "%E3%83%9A%E3%83%BC%E3%82%B8 -> HTTP 502", 0),
      0u)
      << lines[0];
  for (const std::string& line : lines) EXPECT_TRUE(readsAsCp932(line)) << line;
}

TEST_F(UrlcheckProgram, HugeEndlessAndMalformedPagesEndTheRunWithALogLine) {
  const char odd[] = "<html>\0nul \xff\xfe bad \xe3\x81 cut</html>";
  page("odd", std::string(odd, sizeof odd - 1), "text/html; charset=utf-8");
  ScriptServer pages(data.path(), "pages", {"pages", data / "pages"});
  ASSERT_NE(pages.port(), 0);
  ScopedEnv shortTimeOut("URLCHECK_TIMEOUT_SECONDS", "3");
  struct Case {
    const char* path;
    int status;
    const char* logged;  // a part of the last log line
  };
  for (const Case& c : std::vector<Case>{
           {"/huge", 1, "page larger than 67108864 bytes"},
           {"/huge-chunked", 1, "page larger than 67108864 bytes"},
           {"/endless", 1, "Operation timed out after"},
           {"/odd", 0, "HTTP 200, 31 bytes"},
       }) {
    SCOPED_TRACE(c.path);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(fetch(pages.url(c.path)), c.status);
    EXPECT_EQ(hasResult(), c.status == 0);
    EXPECT_TRUE(contains(log(), c.logged)) << log().back();
    std::printf("%-14s %.1f s\n", c.path,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  // Every byte of the malformed page arrives, the NUL included.
  EXPECT_NE(result().find(std::string("\0nul", 4)), std::string::npos);
  rusage children{};
  ::getrusage(RUSAGE_CHILDREN, &children);
  std::printf("peak resident memory of a child so far: %ld kB\n", children.ru_maxrss);
}
