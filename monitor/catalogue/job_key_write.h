#pragma once
// The state a capture or a check writes back into a job: one key of the
// file the job was loaded from.

#include <string>

#include "job_record.h"
#include "monitor/shell/ini_access.h"
#include "monitor/shell/sys_log.h"

namespace orvis {

// 0 when written. -1 when not: the write failed (after its message), or the
// job file is gone (removed while the job was at work), which is logged and
// skipped, so that a key write never makes a job file of its own.
int writeJobKey(const IniAccess& ini, const SysLog& log, const JobRecord& job, const char* key,
                const std::string& value);

}  // namespace orvis
