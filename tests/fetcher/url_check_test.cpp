#include "fetcher/url_check.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

#include "platform/files.h"
#include "support/fake_clock.h"
#include "support/fake_deadline.h"
#include "support/temp_dir.h"

using namespace orvis::fetcher;
using namespace orvis::platform;
using namespace orvis::testing;

namespace {

class FakeFetcher : public PageFetcher {
 public:
  FetchResult fetch(const FetchRequest& request) override {
    requests.push_back(request);
    return next;
  }
  std::vector<FetchRequest> requests;
  FetchResult next;
};

FetchResult answer(long status, std::string body, std::string type = "text/html") {
  FetchResult r;
  r.answered = true;
  r.status = status;
  r.body = std::move(body);
  r.contentType = std::move(type);
  r.seconds = 0.25;
  return r;
}

class UrlCheckTest : public ::testing::Test {
 protected:
  UrlCheckTest() { makeFolders(dir / "temp"); }
  int run(std::vector<std::string> args) {
    std::ostringstream err;
    UrlCheck check(fetcher, log, dir.path(), FetchLimits{}, "/ca.pem", deadline);
    int status = check.run(args, err);
    errText = err.str();
    return status;
  }
  std::vector<std::string> logLines() { return readLogLines(dir / "syslog/urlcheck"); }
  std::string out() const { return dir / "temp/srctemp.txt"; }

  TempDir dir;
  FakeClock clock;
  DayLog log{dir / "syslog/urlcheck/", "urlcheck", clock};
  FakeFetcher fetcher;
  FakeDeadline deadline;
  std::string errText;
};

}  // namespace

TEST_F(UrlCheckTest, TooFewArgumentsIsAUsageError) {
  EXPECT_EQ(run({"http://a/", out()}), kExitUsage);
  EXPECT_TRUE(fetcher.requests.empty());
  EXPECT_NE(errText.find("usage: urlcheck URI OUTPUT-FILE USEPROXY"), std::string::npos);
  ASSERT_EQ(logLines().size(), 1u);
  EXPECT_EQ(logLines()[0], "(urlcheck)," + sj("引数不足(2個),urlcheck URI 出力ファイル USEPROXY"));
}

TEST_F(UrlCheckTest, SuccessWritesTheConvertedPageAndOneLogLine) {
  writeText(out(), "old page");
  fetcher.next =
      answer(200, "<p>\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80</p>", "text/html; charset=UTF-8");
  fetcher.next.finalUrl = "http://a/final";
  EXPECT_EQ(run({"http://a/my", "page", out(), "0"}), kExitFetched);
  ASSERT_EQ(fetcher.requests.size(), 1u);
  EXPECT_EQ(fetcher.requests[0].url, "http://a/my%20page");
  EXPECT_EQ(fetcher.requests[0].userAgent, "NewORVIS Connection");
  EXPECT_EQ(fetcher.requests[0].proxy, "");
  EXPECT_EQ(fetcher.requests[0].caFile, "/ca.pem");
  EXPECT_EQ(readText(out()), "<p>" + sj("日本") + " &#128512;</p>");
  // Written through a temporary file that does not stay behind.
  EXPECT_EQ(listFolder(dir / "temp", "*"), std::vector<std::string>{"srctemp.txt"});
  EXPECT_EQ(logLines(), std::vector<std::string>{
                            "(urlcheck),http://a/my%20page -> HTTP 200, 18 bytes, 0.250 s" +
                            sj(", 転送先 ") + "http://a/final, utf-8 (Content-Type)"});
}

TEST_F(UrlCheckTest, FailuresLeaveNoFileAndLogTheirCause) {
  struct Case {
    FetchResult result;
    std::string cause;
  };
  FetchResult noAnswer;
  noAnswer.error = "Couldn't connect to server";
  noAnswer.seconds = 1.5;
  std::vector<Case> cases = {
      {answer(404, "not found"), "HTTP 404"},
      {answer(500, "oops"), "HTTP 500"},
      {answer(302, ""), "HTTP 302"},  // a redirection without a target
      {noAnswer, "Couldn't connect to server"},
  };
  for (const auto& c : cases) {
    writeText(out(), "page of the last check");
    fetcher.next = c.result;
    EXPECT_EQ(run({"http://a/", out(), "0"}), kExitFetchFailed) << c.cause;
    EXPECT_FALSE(pathExists(out())) << c.cause;
    EXPECT_EQ(logLines().back(), "(urlcheck)," + sj("取得失敗,") + "http://a/," + c.cause);
    EXPECT_NE(errText.find(c.cause), std::string::npos);
  }
  auto lines = logLines();
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "(urlcheck),http://a/ -> HTTP 404, 9 bytes, 0.250 s");
  EXPECT_EQ(lines[6], "(urlcheck),http://a/ -> " + sj("応答なし") + ", 0 bytes, 1.500 s");
}

TEST_F(UrlCheckTest, ProxyOnlyWithFlagOneAndASetting) {
  fetcher.next = answer(200, "ok");
  writeText(dir / "ORVIS.ini",
            "[COMMON]\r\nUSERAGENT=Watcher/2\r\nPROXYIP=10.1.2.3\r\nPROXYPORT=3128\r\n");
  run({"http://a/", out(), "0"});
  run({"http://a/", out(), "1"});
  ASSERT_EQ(fetcher.requests.size(), 2u);
  EXPECT_EQ(fetcher.requests[0].proxy, "");
  EXPECT_EQ(fetcher.requests[1].proxy, "10.1.2.3:3128");
  EXPECT_EQ(fetcher.requests[1].userAgent, "Watcher/2");
  EXPECT_NE(logLines().back().find(", proxy 10.1.2.3:3128"), std::string::npos);

  // Flag 1 without a usable proxy: fetched directly, and the log says why.
  writeText(dir / "ORVIS.ini", "[COMMON]\r\nPROXYIP=\r\n");
  EXPECT_EQ(run({"http://a/", out(), "1"}), kExitFetched);
  EXPECT_EQ(fetcher.requests.back().proxy, "");
  writeText(dir / "ORVIS.ini", "[COMMON]\r\nPROXYIP=10.1.2.3\r\nPROXYPORT=99999\r\n");
  EXPECT_EQ(run({"http://a/", out(), "1"}), kExitFetched);
  EXPECT_EQ(fetcher.requests.back().proxy, "");
  auto lines = logLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "(urlcheck)," + sj("プロキシ未設定,直接接続")),
            lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "(urlcheck)," + sj("プロキシ設定不正(PROXYPORT=99999),直接接続")),
            lines.end());
}

TEST_F(UrlCheckTest, LocalProblemsAreReportedNotHidden) {
  fetcher.next = answer(200, "ok");
  // The temp folder is missing: nothing is created anywhere else.
  ASSERT_EQ(::rmdir((dir / "temp").c_str()), 0);
  EXPECT_EQ(run({"http://a/", out(), "0"}), kExitLocalFailure);
  EXPECT_FALSE(pathExists(dir / "temp"));
  EXPECT_EQ(logLines().back(), "(urlcheck)," + sj("出力失敗,") + out());
  makeFolders(dir / "temp");

  // An empty address is not fetched, but the old result still goes.
  writeText(out(), "old");
  EXPECT_EQ(run({"", out(), "0"}), kExitUsage);
  EXPECT_FALSE(pathExists(out()));
  EXPECT_EQ(fetcher.requests.size(), 1u);

  // What is at the output path cannot be removed: stop before fetching.
  makeFolders(out());
  EXPECT_EQ(run({"http://a/", out(), "0"}), kExitLocalFailure);
  EXPECT_EQ(fetcher.requests.size(), 1u);
  EXPECT_NE(logLines().back().find(sj("出力ファイル削除失敗")), std::string::npos);
}

TEST_F(UrlCheckTest, TheTimeOutCoversDownloadAndConversion) {
  // The download gets the run's time but a tenth, kept for the conversion.
  fetcher.next = answer(200, "ok");
  EXPECT_EQ(run({"http://a/", out(), "0"}), kExitFetched);
  EXPECT_EQ(fetcher.requests.back().timeoutMs, 108000);
  deadline.left = 30000;
  EXPECT_EQ(run({"http://a/", out(), "0"}), kExitFetched);
  EXPECT_EQ(fetcher.requests.back().timeoutMs, 18000);

  // A conversion still running when the time is up gives the page up.
  std::string hangul;
  for (int i = 0; i < 700000; ++i) hangul += "\xED\x95\x9C";
  fetcher.next = answer(200, hangul, "text/html; charset=utf-8");
  deadline.passAfter = 3;  // the downloads of the three runs asked first
  writeText(out(), "page of the last check");
  EXPECT_EQ(run({"http://a/", out(), "0"}), kExitFetchFailed);
  EXPECT_FALSE(pathExists(out()));
  EXPECT_EQ(logLines().back(), "(urlcheck)," + sj("取得失敗,http://a/,変換中に時間切れ"));
}
