#pragma once
// "比較元ソース取得": stores a fresh snapshot of each selected job as its
// baseline "src/" + job number + ".ini", keeps the generations moving, and
// records in the job file's SOURCE whether a baseline was taken.

#include <string>
#include <vector>

#include "acquisition.h"
#include "monitor/catalogue/job_grid_view.h"
#include "monitor/catalogue/job_list.h"
#include "monitor/catalogue/job_table.h"
#include "monitor/shell/services.h"
#include "monitor/shell/shell_view.h"

namespace orvis {

// What became of one job of a capture.
enum class CaptureOutcome {
  Captured,     // its new baseline stored and SOURCE=1 written in this run
  NoSnapshot,   // no usable snapshot: SOURCE=0
  NotLaunched,  // the acquisition could not start: SOURCE as it was
  // Its files could not be written: its number names no file, or its new
  // baseline or its SOURCE could not be stored.
  NotWritten,
};

class BaselineCapture {
 public:
  BaselineCapture(const Services& services, const JobTable& jobs, JobList& list,
                  const JobGridView& grid, ShellView& view, Acquisition& acquisition)
      : s_(services),
        jobs_(jobs),
        list_(list),
        grid_(grid),
        view_(view),
        acquisition_(acquisition) {}

  // "比較元ソース取得" and the hidden "全ソース取得": captures the
  // selected rows of the grid, in order. The outcome of each row captured,
  // the first selected row first; empty when the selection was refused.
  std::vector<CaptureOutcome> captureSelectedJobs();

 private:
  CaptureOutcome captureRow(size_t job);
  // The SOURCE value the job file holds now; empty when it cannot be named.
  std::string storedSource(size_t job);
  std::string failureMessage(const std::string& jobNumber) const;

  const Services& s_;
  const JobTable& jobs_;
  JobList& list_;
  const JobGridView& grid_;
  ShellView& view_;
  Acquisition& acquisition_;
};

}  // namespace orvis
