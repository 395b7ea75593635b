#pragma once
// What urlcheck takes from ORVIS.ini (section COMMON) in its working folder:
// the user agent and the proxy that the monitor's settings dialog stores.

#include <string>

#include "page_fetcher.h"

namespace orvis::fetcher {

inline constexpr const char* kDefaultUserAgent = "NewORVIS Connection";

struct FetchSettings {
  std::string userAgent = kDefaultUserAgent;
  std::string proxy;         // "host:port"; empty when not configured
  std::string proxyProblem;  // why a proxy that is present cannot be used
};

// A missing file or key gives the defaults.
FetchSettings readFetchSettings(const std::string& iniPath);

// URLCHECK_TIMEOUT_SECONDS, for tests only: caps the whole run (and the
// connect) at that many seconds so that a silent server costs seconds, not
// two minutes. Anything but a positive whole number leaves the limits alone.
FetchLimits limitsWithOverride(FetchLimits limits, const char* timeoutSeconds);

}  // namespace orvis::fetcher
