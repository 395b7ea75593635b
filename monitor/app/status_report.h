#pragma once
// `OrvisWatch --status [--json]`: what a data folder says of its monitor
// and its jobs, read beside a running monitor without taking its lock and
// without writing anything: whether a monitor runs there (from the lock),
// its mode and last automatic pass (from its status file), and each job's
// last result (from the job files).

#include <optional>
#include <string>
#include <vector>

#include "monitor/catalogue/job_summary.h"
#include "run_record.h"

namespace orvis {

// The process that holds the data folder's lock.
struct FolderHolder {
  int pid = 0;
  bool isMonitor = true;  // false: a verb (--capture, --check)
};

struct StatusReport {
  std::string dataFolder;              // UTF-8, with a trailing '/'
  std::optional<FolderHolder> holder;  // nullopt: nobody holds the lock
  std::optional<RunRecord> run;        // the status file, when it reads
  std::vector<JobSummary> jobs;

  static StatusReport read(const std::string& dataFolder, std::optional<FolderHolder> holder);

  bool monitorRunning() const { return holder && holder->isMonitor; }
  // The status file as written by the running monitor; nullopt when it was
  // left by an earlier one.
  const RunRecord* currentRun() const;
  // 0 a monitor runs and every job is OK; 1 a job reports a change; 2 a job
  // has no response or is not checked, or the last pass was refused; 3 no
  // monitor runs.
  int exitStatus() const;

  // UTF-8 texts: a line per fact and per job, and the documented JSON.
  std::string text() const;
  std::string json() const;
};

}  // namespace orvis
