// urlcheck "URI" "OUTPUT" USEPROXY: the page fetcher the monitor starts for
// URL jobs; it works in the monitor's data folder ($ORVIS_DATA, else its own
// folder).

#include <curl/curl.h>

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <iostream>

#include "fetcher/curl_page_fetcher.h"
#include "fetcher/fetch_settings.h"
#include "fetcher/url_check.h"
#include "platform/ca_file.h"
#include "platform/clock.h"
#include "platform/data_folder.h"
#include "platform/day_log.h"
#include "platform/deadline.h"
#include "platform/log_cleanup.h"
#include "platform/open_file.h"

int main(int argc, char** argv) {
  using namespace orvis;
  // The time-out bounds the whole run, from here on.
  fetcher::FetchLimits limits =
      fetcher::limitsWithOverride({}, std::getenv("URLCHECK_TIMEOUT_SECONDS"));
  platform::SteadyDeadline deadline(limits.totalTimeoutSeconds * 1000LL);

  // A peer that goes away mid-transfer is an error to report, not a death.
  std::signal(SIGPIPE, SIG_IGN);
  // libcurl reads an international host name in the charset of the locale;
  // ours is UTF-8, whatever the environment says.
  std::setlocale(LC_CTYPE, "C.UTF-8");
  curl_global_init(CURL_GLOBAL_DEFAULT);

  platform::SystemClock clock;
  const std::string dataFolder = platform::dataFolder();
  platform::DayLog log(dataFolder + "syslog/urlcheck/", "urlcheck", clock);
  const platform::DataFolderGuard guard(dataFolder,
                                        [&log](const std::string& line) { log.write(line); });
  platform::tidyLogFolders({log.folder()}, dataFolder,
                           [&log](const std::string& line) { log.write(line); });
  fetcher::CurlPageFetcher curl;
  platform::ExtraCaFile caFile = platform::extraCaFile(std::getenv("SSL_CERT_FILE"));
  if (!caFile.note.empty()) log.write(caFile.note);
  fetcher::UrlCheck check(curl, log, dataFolder, limits, caFile.path, deadline);
  int status = check.run(std::vector<std::string>(argv + 1, argv + argc), std::cerr);

  curl_global_cleanup();
  return status;
}
