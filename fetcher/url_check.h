#pragma once
// The work of urlcheck: fetch the page at the address and leave it, in
// Shift-JIS, at the output path only when the answer was a success. The
// monitor reads nothing but that file, so on any failure no file is there.

#include <ostream>
#include <string>
#include <vector>

#include "page_fetcher.h"
#include "platform/day_log.h"
#include "platform/deadline.h"

namespace orvis::fetcher {

// Exit statuses; the monitor ignores them, operators and scripts may not.
inline constexpr int kExitFetched = 0;
inline constexpr int kExitFetchFailed = 1;   // no answer, or not a 2xx answer
inline constexpr int kExitUsage = 2;         // also an output path outside the data folder's temp/
inline constexpr int kExitLocalFailure = 3;  // the output file could not be handled

class UrlCheck {
 public:
  // `dataFolder` (with a trailing '/') holds ORVIS.ini and the temp/ that
  // the output must lie in; `caFile` comes from SSL_CERT_FILE; `deadline`
  // passes limits.totalTimeoutSeconds after the program started.
  UrlCheck(PageFetcher& fetcher, const platform::DayLog& log, std::string dataFolder,
           FetchLimits limits, std::string caFile, const platform::Deadline& deadline);

  // `args` without the program name. Messages for a person go to `err`.
  int run(const std::vector<std::string>& args, std::ostream& err);

 private:
  int fail(std::ostream& err, int status, const std::string& message);

  PageFetcher& fetcher_;
  const platform::DayLog& log_;
  std::string dataFolder_;
  FetchLimits limits_;
  std::string caFile_;
  const platform::Deadline& deadline_;
};

}  // namespace orvis::fetcher
