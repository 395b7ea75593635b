#include "url_check.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "fetch_arguments.h"
#include "fetch_settings.h"
#include "page_decoder.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "streamed_page.h"
#include "uri_encoding.h"

namespace orvis::fetcher {
namespace {

constexpr const char* kUsage =
    "usage: urlcheck URI OUTPUT-FILE USEPROXY\n"
    "  Fetches the page at URI and writes it, in Shift-JIS, to OUTPUT-FILE, a file\n"
    "  in the temp/ folder of the data folder ($ORVIS_DATA, else the program's own\n"
    "  folder); no file is left there when the page could not be fetched.\n"
    "  USEPROXY 1 goes through PROXYIP:PROXYPORT of the data folder's ORVIS.ini.\n";

std::string seconds(double s) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", s);
  return buffer;
}

// Paths come from the OS in UTF-8; the log is CP932.
std::string forLog(const std::string& path) { return platform::toCp932(path); }

// The snapshot belongs in the data folder's temp/. Any other path would let a
// wrong command line delete or overwrite a file of the system (ORVIS.ini, a
// baseline) or anything else the program may write.
bool insideTempFolder(const std::string& output, const std::string& dataFolder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path path = fs::absolute(output, ec);
  if (ec || !path.has_filename() || path.filename() == "." || path.filename() == "..") return false;
  fs::path folder = fs::weakly_canonical(path.parent_path(), ec);
  if (ec) return false;
  fs::path temp = fs::weakly_canonical(fs::path(dataFolder) / "temp", ec);
  return !ec && folder == temp;
}

// A tenth of the run stays for turning the page into Shift-JIS, which takes
// well under a second even for the largest page taken.
long long downloadTimeMs(const platform::Deadline& deadline, const FetchLimits& limits) {
  return deadline.remainingMs() - limits.totalTimeoutSeconds * 1000 / 10;
}

}  // namespace

UrlCheck::UrlCheck(PageFetcher& fetcher, const platform::DayLog& log, std::string dataFolder,
                   FetchLimits limits, std::string caFile, const platform::Deadline& deadline)
    : fetcher_(fetcher),
      log_(log),
      dataFolder_(std::move(dataFolder)),
      limits_(limits),
      caFile_(std::move(caFile)),
      deadline_(deadline) {}

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
  if (!insideTempFolder(output, dataFolder_)) {
    err << kUsage;
    return fail(err, kExitUsage,
                SJIS("出力ファイルがデータフォルダのtemp/にありません,") + forLog(output));
  }

  // Whatever happens next, an old page must not pass for a fresh one.
  if (!platform::removeFile(output) && errno != ENOENT) {
    return fail(err, kExitLocalFailure,
                SJIS("出力ファイル削除失敗,") + forLog(output) + "," + std::strerror(errno));
  }
  if (parsed->address.empty()) return fail(err, kExitUsage, SJIS("URL指定なし"));

  FetchSettings settings = readFetchSettings(dataFolder_ + "ORVIS.ini");
  FetchRequest request;
  request.url = encodeUri(parsed->address);
  request.userAgent = settings.userAgent;
  request.caFile = caFile_;
  request.limits = limits_;
  // The URL may hold an international host name in UTF-8.
  const std::string url = platform::peerTextToCp932(request.url);
  if (parsed->proxyFlag != "0" && parsed->proxyFlag != "1") {
    log_.write(SJIS("USEPROXY不正(") + platform::peerTextToCp932(parsed->proxyFlag) +
               SJIS("),直接接続"));
  }
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

  request.timeoutMs = static_cast<long>(downloadTimeMs(deadline_, limits_));
  if (request.timeoutMs <= 0)
    return fail(err, kExitFetchFailed, SJIS("取得失敗,") + url + SJIS(",時間切れ"));

  // The page is decoded as it arrives; the conversion shares the run's
  // time with the download.
  StreamedPage body(output, [this] { return deadline_.passed(); });
  FetchResult result = fetcher_.stream(request, body);

  std::string line = url + " -> ";
  line += result.answered ? "HTTP " + std::to_string(result.status) : SJIS("応答なし");
  line += ", " + std::to_string(body.size()) + " bytes, " + seconds(result.seconds) + " s";
  if (!request.proxy.empty()) line += ", proxy " + request.proxy;
  if (!result.finalUrl.empty() && result.finalUrl != request.url)
    line += SJIS(", 転送先 ") + platform::peerTextToCp932(result.finalUrl);

  if (!result.answered) {
    log_.write(line);
    return fail(err, kExitFetchFailed,
                SJIS("取得失敗,") + url + "," + platform::peerTextToCp932(result.error));
  }
  if (result.status < 200 || result.status > 299) {
    log_.write(line);
    return fail(err, kExitFetchFailed,
                SJIS("取得失敗,") + url + ",HTTP " + std::to_string(result.status));
  }

  DecodedPage page = body.finish(result.status, result.contentType);
  if (page.givenUp) {
    log_.write(line);
    return fail(err, kExitFetchFailed, SJIS("取得失敗,") + url + SJIS(",変換中に時間切れ"));
  }
  line +=
      ", " + (page.charset.empty() ? std::string("-") : page.charset) + " (" + page.source + ")";
  log_.write(line);
  if (!body.commit()) {
    return fail(err, kExitLocalFailure, SJIS("出力失敗,") + forLog(output));
  }
  return kExitFetched;
}

}  // namespace orvis::fetcher
