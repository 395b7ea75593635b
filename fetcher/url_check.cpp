#include "url_check.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "fetch_arguments.h"
#include "fetch_settings.h"
#include "page_decoder.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "uri_encoding.h"

namespace orvis::fetcher {
namespace {

constexpr const char* kUsage =
    "usage: urlcheck URI OUTPUT-FILE USEPROXY\n"
    "  Fetches the page at URI and writes it, in Shift-JIS, to OUTPUT-FILE;\n"
    "  no file is left there when the page could not be fetched.\n"
    "  USEPROXY 1 goes through PROXYIP:PROXYPORT of ORVIS.ini in the working folder.\n";

std::string seconds(double s) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", s);
  return buffer;
}

// Paths come from the OS in UTF-8; the log is CP932.
std::string forLog(const std::string& path) { return platform::toCp932(path); }

}  // namespace

UrlCheck::UrlCheck(PageFetcher& fetcher, const platform::DayLog& log, std::string iniPath,
                   FetchLimits limits, std::string caFile)
    : fetcher_(fetcher),
      log_(log),
      iniPath_(std::move(iniPath)),
      limits_(limits),
      caFile_(std::move(caFile)) {}

int UrlCheck::fail(std::ostream& err, int status, const std::string& message) {
  log_.write(message);
  err << "urlcheck: " << platform::toUtf8(message) << "\n";
  return status;
}

int UrlCheck::run(const std::vector<std::string>& args, std::ostream& err) {
  auto parsed = parseFetchArguments(args);
  if (!parsed || parsed->outputPath.empty()) {
    err << kUsage;
    log_.write(SJIS("引数不足(") + std::to_string(args.size()) +
               SJIS("個),urlcheck URI 出力ファイル USEPROXY"));
    return kExitUsage;
  }
  const std::string& output = parsed->outputPath;

  // Whatever happens next, an old page must not pass for a fresh one.
  if (::unlink(output.c_str()) != 0 && errno != ENOENT) {
    return fail(err, kExitLocalFailure,
                SJIS("出力ファイル削除失敗,") + forLog(output) + "," + std::strerror(errno));
  }
  if (parsed->address.empty()) return fail(err, kExitUsage, SJIS("URL指定なし"));

  FetchSettings settings = readFetchSettings(iniPath_);
  FetchRequest request;
  request.url = encodeUri(parsed->address);
  request.userAgent = settings.userAgent;
  request.caFile = caFile_;
  request.limits = limits_;
  if (parsed->useProxy) {
    // Fetching directly still gets the page where the network allows it;
    // the line says why the proxy was not used.
    if (!settings.proxyProblem.empty()) {
      log_.write(SJIS("プロキシ設定不正(") + settings.proxyProblem + SJIS("),直接接続"));
    } else if (settings.proxy.empty()) {
      log_.write(SJIS("プロキシ未設定,直接接続"));
    }
    request.proxy = settings.proxy;
  }

  FetchResult result = fetcher_.fetch(request);

  std::string line = request.url + " -> ";
  line += result.answered ? "HTTP " + std::to_string(result.status) : SJIS("応答なし");
  line += ", " + std::to_string(result.body.size()) + " bytes, " + seconds(result.seconds) + " s";
  if (!request.proxy.empty()) line += ", proxy " + request.proxy;
  if (!result.finalUrl.empty() && result.finalUrl != request.url)
    line += SJIS(", 転送先 ") + result.finalUrl;

  if (!result.answered) {
    log_.write(line);
    return fail(err, kExitFetchFailed, SJIS("取得失敗,") + request.url + "," + result.error);
  }
  if (result.status < 200 || result.status > 299) {
    log_.write(line);
    return fail(err, kExitFetchFailed,
                SJIS("取得失敗,") + request.url + ",HTTP " + std::to_string(result.status));
  }

  DecodedPage page = decodePage(result.body, result.contentType);
  line +=
      ", " + (page.charset.empty() ? std::string("-") : page.charset) + " (" + page.source + ")";
  log_.write(line);
  if (!platform::writeFileAtomic(output, page.bytes)) {
    return fail(err, kExitLocalFailure, SJIS("出力失敗,") + forLog(output));
  }
  return kExitFetched;
}

}  // namespace orvis::fetcher
