#include "disk_gauge.h"

#include <cstdint>

namespace orvis {

void refreshDiskGauge(ShellView& view, const platform::DiskSpaceReader& disks,
                      const std::string& dataFolder) {
  int64_t total = 0, free = 0;
  if (auto space = disks.read(dataFolder)) {
    total = static_cast<int64_t>(space->totalBytes / 1024 / 1024);
    free = static_cast<int64_t>(space->freeBytes / 1024 / 1024);
  }
  view.setDiskGauge(total, total - free);
}

}  // namespace orvis
