// urlcheck URI "OUTPUT" USEPROXY: the page fetcher the monitor starts for
// URL jobs, in the data folder as its working folder.

#include <curl/curl.h>

#include <csignal>
#include <cstdlib>
#include <iostream>

#include "fetcher/curl_page_fetcher.h"
#include "fetcher/fetch_settings.h"
#include "fetcher/url_check.h"
#include "platform/clock.h"
#include "platform/day_log.h"
#include "platform/files.h"

int main(int argc, char** argv) {
  using namespace orvis;
  // A peer that goes away mid-transfer is an error to report, not a death.
  std::signal(SIGPIPE, SIG_IGN);
  curl_global_init(CURL_GLOBAL_DEFAULT);

  platform::SystemClock clock;
  platform::DayLog log(platform::executableFolder() + "syslog/urlcheck/", "urlcheck", clock);
  fetcher::CurlPageFetcher curl;
  const char* caFile = std::getenv("SSL_CERT_FILE");
  fetcher::UrlCheck check(curl, log, "ORVIS.ini",
                          fetcher::limitsWithOverride({}, std::getenv("URLCHECK_TIMEOUT_SECONDS")),
                          caFile ? caFile : "");
  int status = check.run(std::vector<std::string>(argv + 1, argv + argc), std::cerr);

  curl_global_cleanup();
  return status;
}
