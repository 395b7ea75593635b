#pragma once
// One HTTP(S) fetch, behind an interface so that urlcheck's decisions can be
// tested without a network.

#include <string>
#include <string_view>

namespace orvis::fetcher {

struct FetchLimits {
  long connectTimeoutSeconds = 30;
  long totalTimeoutSeconds = 120;  // the whole run: download and conversion
  long maxRedirects = 10;
  size_t maxBodyBytes = size_t(64) << 20;  // a page, not a download
};

struct FetchRequest {
  std::string url;  // already percent-encoded
  std::string userAgent;
  std::string proxy;   // "host:port"; empty: a direct connection
  std::string caFile;  // trusted besides the system's authorities; may be empty
  FetchLimits limits;
  long timeoutMs = 0;  // the transfer, redirections included: what the run has left for it
};

struct FetchResult {
  bool answered = false;  // a complete response arrived (of any status)
  long status = 0;        // of the last response, after redirections
  std::string contentType;
  std::string body;
  std::string finalUrl;
  std::string error;  // why there is no complete response
  double seconds = 0;
};

// Where the body of the answer goes as it arrives.
class BodySink {
 public:
  virtual ~BodySink() = default;
  // Once, before the first byte: the answer the body belongs to.
  virtual void start(long status, const std::string& contentType) = 0;
  virtual void take(std::string_view bytes) = 0;
};

class PageFetcher {
 public:
  virtual ~PageFetcher() = default;
  virtual FetchResult fetch(const FetchRequest& request) = 0;

  // The same fetch, the body handed to `sink` as it arrives instead of
  // kept in the result. By default the whole body at once.
  virtual FetchResult stream(const FetchRequest& request, BodySink& sink) {
    FetchResult result = fetch(request);
    sink.start(result.status, result.contentType);
    if (!result.body.empty()) sink.take(result.body);
    result.body.clear();
    return result;
  }
};

}  // namespace orvis::fetcher
