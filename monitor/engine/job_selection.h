#pragma once
// The job rows a user action applies to: the grid's selected block, when it
// is a usable one and a job was clicked in the list. Otherwise the user is
// told why nothing happens.

#include <optional>
#include <utility>

#include "monitor/catalogue/job_grid_view.h"
#include "monitor/catalogue/job_list.h"
#include "monitor/catalogue/job_table.h"
#include "monitor/shell/message_boxes.h"
#include "monitor/shell/sys_log.h"

namespace orvis {

// First and last row (from 1); the first is 1 when the block starts at the
// header row. nullopt after the message.
std::optional<std::pair<int, int>> selectedJobRows(const JobGridView& grid, const JobList& list,
                                                   const JobTable& jobs, const MessageBoxes& boxes,
                                                   const SysLog& log);

}  // namespace orvis
