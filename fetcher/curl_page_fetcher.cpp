#include "curl_page_fetcher.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

#include "platform/files.h"

namespace orvis::fetcher {
namespace {

constexpr const char* kSystemCaFolder = "/etc/ssl/certs";

// Larger pieces than libcurl's default cost fewer calls of the decoder.
constexpr long kReceiveBufferBytes = 256L << 10;

struct Transfer {
  CURL* curl;
  BodySink* sink;
  size_t limit;
  size_t received = 0;
  bool started = false;
  bool overflow = false;
};

size_t receive(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  size_t n = size * count;
  if (transfer->received + n > transfer->limit) {
    transfer->overflow = true;
    return 0;  // ends the transfer with a write error
  }
  if (!transfer->started) {
    // Bodies of the redirections followed never come here.
    transfer->started = true;
    long status = 0;
    curl_easy_getinfo(transfer->curl, CURLINFO_RESPONSE_CODE, &status);
    char* type = nullptr;
    curl_easy_getinfo(transfer->curl, CURLINFO_CONTENT_TYPE, &type);
    transfer->sink->start(status, type ? type : "");
  }
  transfer->received += n;
  transfer->sink->take(std::string_view(data, n));
  return n;
}

// The body kept whole, for fetch().
struct WholeBody : BodySink {
  explicit WholeBody(std::string& body) : body(body) {}
  void start(long, const std::string&) override {}
  void take(std::string_view bytes) override { body.append(bytes); }
  std::string& body;
};

}  // namespace

FetchResult CurlPageFetcher::fetch(const FetchRequest& request) {
  std::string body;
  WholeBody whole(body);
  FetchResult result = stream(request, whole);
  result.body = std::move(body);
  return result;
}

FetchResult CurlPageFetcher::stream(const FetchRequest& request, BodySink& sink) {
  FetchResult result;
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) {
    result.error = "curl_easy_init failed";
    return result;
  }
  CURL* h = curl.get();
  char errorText[CURL_ERROR_SIZE] = {};
  Transfer transfer{h, &sink, request.limits.maxBodyBytes};

  curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, request.limits.maxRedirects);
  long timeoutMs = std::max(1L, request.timeoutMs);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                   std::min(request.limits.connectTimeoutSeconds * 1000, timeoutMs));
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, timeoutMs);
  curl_easy_setopt(h, CURLOPT_USERAGENT, request.userAgent.c_str());
  curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");  // whatever we can decode
  // A page that says it is larger than we take is refused before its body.
  curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE,
                   static_cast<curl_off_t>(request.limits.maxBodyBytes));
  curl_easy_setopt(h, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, receive);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
  // An empty proxy turns off http_proxy and friends; an empty no-proxy list
  // keeps no_proxy from bypassing the proxy asked for.
  std::string proxy = request.proxy.empty() ? std::string() : "http://" + request.proxy;
  curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(h, CURLOPT_NOPROXY, "");
  curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!request.caFile.empty()) {
    // The extra file replaces the built-in bundle, so the system's
    // authorities come in through their hashed folder.
    curl_easy_setopt(h, CURLOPT_CAINFO, request.caFile.c_str());
    if (platform::folderExists(kSystemCaFolder))
      curl_easy_setopt(h, CURLOPT_CAPATH, kSystemCaFolder);
  }

  CURLcode rc = curl_easy_perform(h);

  long status = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
  result.status = status;
  char* type = nullptr;
  if (curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
    result.contentType = type;
  char* url = nullptr;
  if (curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &url) == CURLE_OK && url) result.finalUrl = url;
  curl_off_t micros = 0;
  if (curl_easy_getinfo(h, CURLINFO_TOTAL_TIME_T, &micros) == CURLE_OK)
    result.seconds = micros / 1e6;

  if (rc == CURLE_OK) {
    result.answered = true;
  } else if (transfer.overflow || rc == CURLE_FILESIZE_EXCEEDED) {
    result.error = "page larger than " + std::to_string(request.limits.maxBodyBytes) + " bytes";
  } else {
    result.error = errorText[0] ? errorText : curl_easy_strerror(rc);
  }
  return result;
}

}  // namespace orvis::fetcher
