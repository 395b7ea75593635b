#include "fetch_settings.h"

#include <algorithm>
#include <cctype>

#include "platform/bytes.h"
#include "platform/ini_file.h"

namespace orvis::fetcher {
namespace {

bool isHostChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-';
}

}  // namespace

FetchSettings readFetchSettings(const std::string& iniPath) {
  FetchSettings out;
  auto doc = platform::loadIniFile(iniPath);
  if (!doc) return out;
  auto value = [&](const char* key) {
    return platform::trim(doc->get("COMMON", key).value_or(""));
  };

  std::string agent = value("USERAGENT");
  // A header value ends at a line break; keep control bytes out of it.
  std::erase_if(agent, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
  if (!agent.empty()) out.userAgent = agent;

  std::string host = value("PROXYIP");
  std::string port = value("PROXYPORT");
  if (host.empty() && port.empty()) return out;
  auto number = platform::parseInt(port);
  if (host.empty() || !std::all_of(host.begin(), host.end(), isHostChar)) {
    out.proxyProblem = "PROXYIP=" + host;
  } else if (!number || *number < 1 || *number > 65535 ||
             port.find_first_not_of("0123456789") != std::string::npos) {
    out.proxyProblem = "PROXYPORT=" + port;
  } else {
    out.proxy = host + ":" + std::to_string(*number);
  }
  return out;
}

FetchLimits limitsWithOverride(FetchLimits limits, const char* timeoutSeconds) {
  if (!timeoutSeconds) return limits;
  auto seconds = platform::parseInt(timeoutSeconds);
  if (!seconds || *seconds <= 0) return limits;
  limits.totalTimeoutSeconds = *seconds;
  limits.connectTimeoutSeconds = std::min<long>(limits.connectTimeoutSeconds, *seconds);
  return limits;
}

}  // namespace orvis::fetcher
