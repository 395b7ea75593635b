#include "disk_gauge.h"

#include <sys/statvfs.h>

#include <cstdint>

namespace orvis {

void RefreshDiskGauge(ShellView& view, const std::string& dataFolder) {
  struct statvfs st;
  int64_t total = 0, free = 0;
  if (::statvfs(dataFolder.c_str(), &st) == 0) {
    total = static_cast<int64_t>(st.f_blocks * st.f_frsize / 1024 / 1024);
    free = static_cast<int64_t>(st.f_bfree * st.f_frsize / 1024 / 1024);
  }
  view.setDiskGauge(total, total - free);
}

}  // namespace orvis
