#pragma once
// The disk gauge: used megabytes of the file system that holds the data
// folder, against its total.

#include <string>

#include "monitor/shell/shell_view.h"
#include "platform/disk_space_reader.h"

namespace orvis {

void refreshDiskGauge(ShellView& view, const platform::DiskSpaceReader& disks,
                      const std::string& dataFolder);

}  // namespace orvis
