#pragma once
// The check of one job within a pass: the rules it is checked under, its
// snapshot, the evaluation by its type, its result in the job file and the
// job table, its alerts, and its baseline replaced when it changed.

#include <cstddef>
#include <optional>
#include <string>

#include "acquisition.h"
#include "compare_rules.h"
#include "monitor/alerting/alert_sender.h"
#include "monitor/catalogue/job_table.h"
#include "monitor/shell/services.h"
#include "monitor/shell/shell_view.h"
#include "source_comparison.h"

namespace orvis {

class JobCheck {
 public:
  JobCheck(const Services& services, JobTable& jobs, ShellView& view, Acquisition& acquisition,
           AlertSender& alerts)
      : s_(services),
        jobs_(jobs),
        view_(view),
        acquisition_(acquisition),
        alerts_(alerts),
        comparison_(services, view, alerts) {}

  // The first check of job `job` (0 for grid row 1) in a pass. Returns the
  // rules it was checked under, for its retries; nullopt when the job
  // cannot be checked at all (its number names no file).
  std::optional<CompareRules> check(std::size_t job);
  // Another attempt for a job without a usable snapshot, under the rules of
  // its first check.
  void retry(std::size_t job, const CompareRules& rules);

 private:
  // The job as it stood when its check began: messages run during a check,
  // and nothing they do may pull the row away.
  struct Target {
    std::size_t index;
    JobRecord job;
    std::string jobFile;
    std::string baseline;
  };
  std::optional<Target> target(std::size_t job) const;

  // Snapshot, evaluation, result; the snapshot is gone afterwards. Each step
  // that lets messages run (a wait, an alert's mailer, the comparison) is
  // followed by a look at the stop flag: once the program is asked to end,
  // the check returns at once and writes nothing more.
  void acquireAndEvaluate(const Target& t, const CompareRules& rules);
  void evaluateUrl(const Target& t, const CompareRules& rules);
  void evaluateFile(const Target& t);
  void evaluateProc(const Target& t);
  void evaluateDrive(const Target& t);
  // False when the program is ending.
  bool checkWord(const Target& t, const std::string& word);

  // Logs the change, raises its alert and replaces the baseline.
  void reportChange(const Target& t, const std::string& message, const std::string& detail);
  void reportNoChange(const Target& t);
  // The snapshot becomes the baseline; the old one moves to the generations.
  void replaceBaseline(const Target& t);
  void setResult(const Target& t, JobResult result);

  void log(const Target& t, const std::string& text) const;
  // False when the program is ending (the mailer's wait gave up).
  bool alert(const Target& t, const std::string& message, const std::string& detail);
  bool ending() const { return s_.stop.raised(); }

  const Services& s_;
  JobTable& jobs_;
  ShellView& view_;
  Acquisition& acquisition_;
  AlertSender& alerts_;
  SourceComparison comparison_;
};

}  // namespace orvis
