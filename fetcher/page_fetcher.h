#pragma once
// One HTTP(S) fetch, behind an interface so that urlcheck's decisions can be
// tested without a network.

#include <string>

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

class PageFetcher {
 public:
  virtual ~PageFetcher() = default;
  virtual FetchResult fetch(const FetchRequest& request) = 0;
};

}  // namespace orvis::fetcher
