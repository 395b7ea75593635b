#pragma once
// The work of urlcheck: fetch the page at the address and leave it, in
// Shift-JIS, at the output path only when the answer was a success. The
// monitor reads nothing but that file, so on any failure no file is there.

#include <ostream>
#include <string>
#include <vector>

#include "page_fetcher.h"
#include "platform/day_log.h"

namespace orvis::fetcher {

// Exit statuses; the monitor ignores them, operators and scripts may not.
inline constexpr int kExitFetched = 0;
inline constexpr int kExitFetchFailed = 1;  // no answer, or not a 2xx answer
inline constexpr int kExitUsage = 2;
inline constexpr int kExitLocalFailure = 3;  // the output file could not be handled

class UrlCheck {
 public:
  // `iniPath` is ORVIS.ini of the working folder; `caFile` comes from
  // SSL_CERT_FILE.
  UrlCheck(PageFetcher& fetcher, const platform::DayLog& log, std::string iniPath,
           FetchLimits limits, std::string caFile);

  // `args` without the program name. Messages for a person go to `err`.
  int run(const std::vector<std::string>& args, std::ostream& err);

 private:
  int fail(std::ostream& err, int status, const std::string& message);

  PageFetcher& fetcher_;
  const platform::DayLog& log_;
  std::string iniPath_;
  FetchLimits limits_;
  std::string caFile_;
};

}  // namespace orvis::fetcher
