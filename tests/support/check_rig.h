#pragma once
// The monitor logic on fakes, set up for check passes: jobs of every type
// with their baselines, pages that the fake page fetcher writes by URI, and
// every alert mail recorded as the fake group mailer finds it.

#include <map>
#include <string>
#include <vector>

#include "monitor_rig.h"

namespace orvis::testing {

// One alert as the mailer found it, UTF-8.
struct RaisedAlert {
  std::string group, html;  // the mailer's arguments
  std::string message;      // the line "【内　容】..."
  std::string detail;       // the difference text, empty when there is none
};

class CheckRig : public MonitorRig {
 public:
  explicit CheckRig(std::vector<std::string> args = {}, std::string dataFolder = {});

  // A job with a baseline captured (SOURCE=1); `extra` adds key=value lines.
  void job(const std::string& no, const std::string& type, const std::string& uri,
           const std::vector<std::string>& extra = {});
  // The job's baseline, as bytes.
  void baseline(const std::string& no, const std::string& bytes);
  std::string baselineNow(const std::string& no) const {
    return readText(path("src/" + no + ".ini"));
  }
  // The FILE snapshot of a folder, as a check takes it.
  std::string listing(const std::string& folder);
  // A value of the job file; "<none>" when the key is missing.
  std::string jobValue(const std::string& no, const std::string& key) const;

  // A pass over the rows, as the manual check runs one; starts the monitor
  // first when it is not running yet.
  CheckPass::End check(int firstRow, int lastRow);
  // The log lines of the checks so far, without time and tag, UTF-8.
  std::vector<std::string> messages() const;
  // The log lines since the last call.
  std::vector<std::string> newMessages();

  // What the page fetcher writes for a URI (CP932 bytes); a URI without a
  // page gets an empty file, a failed fetch.
  std::map<std::string, std::string> pages;
  std::map<std::string, int> fetches;
  std::vector<RaisedAlert> alerts;

 private:
  void fetched(const std::string& uri);
  void mailed(const std::vector<std::string>& args);
  size_t seen_ = 0;
};

}  // namespace orvis::testing
