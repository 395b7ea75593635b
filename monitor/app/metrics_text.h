#pragma once
// The metrics file: what a running monitor says of its passes, jobs and
// activity, in the Prometheus text format that node_exporter's textfile
// collector reads. One monitor per host writes it; Prometheus gathers them.

#include <string>
#include <vector>

#include "monitor/catalogue/job_summary.h"
#include "monitor/shell/activity_counters.h"
#include "run_record.h"

namespace orvis {

// The whole file (UTF-8, LF line ends).
std::string metricsText(const RunRecord& run, const std::vector<JobSummary>& jobs,
                        const ActivityCounters& counters);

}  // namespace orvis
