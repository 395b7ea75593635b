#include "fetcher/fetch_arguments.h"

#include <gtest/gtest.h>

#include "fetcher/fetch_settings.h"
#include "fetcher/uri_encoding.h"
#include "support/temp_dir.h"

using namespace orvis::fetcher;
using namespace orvis::testing;

TEST(FetchArguments, LastTwoAreOutputAndFlagTheRestIsTheAddress) {
  EXPECT_FALSE(parseFetchArguments({}));
  EXPECT_FALSE(parseFetchArguments({"http://a/", "out.txt"}));

  auto plain = parseFetchArguments({"http://a/", "/data/temp/srctemp.txt", "1"});
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->address, "http://a/");
  EXPECT_EQ(plain->outputPath, "/data/temp/srctemp.txt");
  EXPECT_TRUE(plain->useProxy);

  // An unquoted URI with blanks arrives in pieces.
  auto split = parseFetchArguments({"http://a/x", "y", "z", "out", "0"});
  ASSERT_TRUE(split);
  EXPECT_EQ(split->address, "http://a/x y z");
  EXPECT_EQ(split->outputPath, "out");
  EXPECT_FALSE(split->useProxy);

  for (const char* flag : {"", "yes", "YES", "11", " 1", "true"}) {
    EXPECT_FALSE(parseFetchArguments({"u", "o", flag})->useProxy) << flag;
  }
}

TEST(UriEncoding, OnlyWhatCannotStandInAUriIsEscaped) {
  EXPECT_EQ(encodeUri("http://a.example:8080/p/q?x=1&y=a+b;c#frag"),
            "http://a.example:8080/p/q?x=1&y=a+b;c#frag");
  EXPECT_EQ(encodeUri("http://a/my page.html"), "http://a/my%20page.html");
  // Existing escapes stay; a percent that starts none is escaped itself.
  EXPECT_EQ(encodeUri("http://a/%E6%97%A5%20x"), "http://a/%E6%97%A5%20x");
  EXPECT_EQ(encodeUri("http://a/100%"), "http://a/100%25");
  EXPECT_EQ(encodeUri("http://a/%4"), "http://a/%254");
  EXPECT_EQ(encodeUri("http://a/%zz"), "http://a/%25zz");
  EXPECT_EQ(encodeUri("http://a/\"<>\\^`{|}\t"), "http://a/%22%3C%3E%5C%5E%60%7B%7C%7D%09");
  EXPECT_EQ(encodeUri("http://[::1]:80/~user/a-b_c.d!$'()*,"),
            "http://[::1]:80/~user/a-b_c.d!$'()*,");
}

TEST(UriEncoding, InternationalHostNameStaysForLibcurl) {
  EXPECT_EQ(encodeUri(sj("https://u:p@日本.jp:8080/?q=日#日")),
            "https://u:p@\xE6\x97\xA5\xE6\x9C\xAC.jp:8080/?q=%E6%97%A5#%E6%97%A5");
  EXPECT_EQ(encodeUri("http://a/x\xE6\x97\xA5@b"), "http://a/x%E6%97%A5@b");
}

TEST(UriEncoding, JapaneseGoesAsUtf8WhetherGivenInCp932OrUtf8) {
  const std::string expected = "http://a/%E6%97%A5%E6%9C%AC?q=%E8%AA%9E";
  EXPECT_EQ(encodeUri("http://a/\xE6\x97\xA5\xE6\x9C\xAC?q=\xE8\xAA\x9E"), expected);
  EXPECT_EQ(encodeUri(sj("http://a/日本?q=語")), expected);
}

TEST(FetchSettings, UserAgentAndProxyFromTheSettingsFile) {
  TempDir dir;
  auto missing = readFetchSettings(dir / "ORVIS.ini");
  EXPECT_EQ(missing.userAgent, "NewORVIS Connection");
  EXPECT_EQ(missing.proxy, "");
  EXPECT_EQ(missing.proxyProblem, "");

  writeText(dir / "ORVIS.ini",
            "[COMMON]\r\nUSERAGENT=  Mozilla/5.0 (X11)\x01  \r\nPROXYIP= 10.0.0.1 "
            "\r\nPROXYPORT=8080\r\n");
  auto set = readFetchSettings(dir / "ORVIS.ini");
  EXPECT_EQ(set.userAgent, "Mozilla/5.0 (X11)");
  EXPECT_EQ(set.proxy, "10.0.0.1:8080");

  writeText(dir / "ORVIS.ini", "[COMMON]\r\nUSERAGENT=\r\nPROXYIP=10.0.0.1\r\nPROXYPORT=\r\n");
  auto noPort = readFetchSettings(dir / "ORVIS.ini");
  EXPECT_EQ(noPort.userAgent, "NewORVIS Connection");
  EXPECT_EQ(noPort.proxy, "");
  EXPECT_EQ(noPort.proxyProblem, "PROXYPORT=");

  for (const char* port : {"0", "65536", "80x", "-1", "+80"}) {
    writeText(dir / "ORVIS.ini",
              std::string("[COMMON]\r\nPROXYIP=10.0.0.1\r\nPROXYPORT=") + port + "\r\n");
    EXPECT_EQ(readFetchSettings(dir / "ORVIS.ini").proxy, "") << port;
  }
  writeText(dir / "ORVIS.ini", "[COMMON]\r\nPROXYIP=user@evil/x\r\nPROXYPORT=80\r\n");
  EXPECT_EQ(readFetchSettings(dir / "ORVIS.ini").proxy, "");
  EXPECT_EQ(readFetchSettings(dir / "ORVIS.ini").proxyProblem, "PROXYIP=user@evil/x");
}

TEST(FetchSettings, TimeoutOverrideOnlyForAPositiveNumber) {
  FetchLimits defaults;
  EXPECT_EQ(defaults.connectTimeoutSeconds, 30);
  EXPECT_EQ(defaults.totalTimeoutSeconds, 120);
  EXPECT_EQ(defaults.maxRedirects, 10);
  for (const char* v : {static_cast<const char*>(nullptr), "", "0", "-5", "2s"}) {
    auto l = limitsWithOverride(defaults, v);
    EXPECT_EQ(l.totalTimeoutSeconds, 120);
    EXPECT_EQ(l.connectTimeoutSeconds, 30);
  }
  auto shortened = limitsWithOverride(defaults, "2");
  EXPECT_EQ(shortened.totalTimeoutSeconds, 2);
  EXPECT_EQ(shortened.connectTimeoutSeconds, 2);
  EXPECT_EQ(limitsWithOverride(defaults, "300").connectTimeoutSeconds, 30);
}
