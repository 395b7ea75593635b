#pragma once
// The current state of one job's target, written as the snapshot file
// "temp/srctemp.txt" in the text form of the job's type. The baseline
// capture and the check pass both take their snapshots here.

#include <cstddef>
#include <memory>
#include <string>

#include "monitor/catalogue/job_table.h"
#include "monitor/shell/services.h"
#include "platform/process_handle.h"

namespace orvis {

class Acquisition {
 public:
  // How long the page fetcher may run. It ends itself well within this
  // (its own limit is two minutes); one that hangs is ended here, and the
  // job goes on as a page that did not answer.
  static constexpr long long kFetchLimitMs = 180'000;

  Acquisition(const Services& services, const JobTable& jobs) : s_(services), jobs_(jobs) {}

  // Deletes the old snapshot and takes a new one. Returns whether the
  // acquisition was launched: false only when the page fetcher could not be
  // started (or the job's type is unknown, which is logged), or when the
  // program was asked to end meanwhile; the caller then leaves the job alone. Whether a launched
  // acquisition succeeded is for the caller to judge by snapshotTaken().
  bool acquireSnapshot(size_t job);

  std::string snapshotPath() const;
  // The snapshot file exists and is not empty.
  bool snapshotTaken() const;

  // The page fetcher's command line for a URI and the job's USEPROXY value
  // (anything but "1" goes as "0").
  std::string fetchCommandLine(const std::string& uri, const std::string& useProxy) const;

 private:
  std::unique_ptr<platform::ProcessHandle> startFetch(const JobRecord& job);
  void writeProcessSnapshot();
  void writeDriveSnapshot(const std::string& uri);
  void writeFileSnapshot(const std::string& uri, bool subfolders);

  const Services& s_;
  const JobTable& jobs_;
};

}  // namespace orvis
