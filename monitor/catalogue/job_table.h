#pragma once
// The in-memory job table: one record per job, job i shown in grid row
// i + 1. Rebuilt from the job files on every load; between loads only the
// check engine writes its result and baseline fields.

#include <cstddef>
#include <utility>
#include <vector>

#include "job_record.h"

namespace orvis {

class JobTable {
 public:
  size_t size() const { return jobs_.size(); }
  bool empty() const { return jobs_.empty(); }

  const JobRecord& operator[](size_t job) const { return jobs_[job]; }
  JobRecord& operator[](size_t job) { return jobs_[job]; }

  // The job of grid row `row` (1 is the first job); nullptr for the header
  // row and rows past the last job.
  const JobRecord* atRow(int row) const {
    if (row < 1 || static_cast<size_t>(row) > jobs_.size()) return nullptr;
    return &jobs_[static_cast<size_t>(row - 1)];
  }

  void append(JobRecord job) { jobs_.push_back(std::move(job)); }
  void clear() { jobs_.clear(); }

  std::vector<JobRecord>::const_iterator begin() const { return jobs_.begin(); }
  std::vector<JobRecord>::const_iterator end() const { return jobs_.end(); }

 private:
  std::vector<JobRecord> jobs_;
};

}  // namespace orvis
