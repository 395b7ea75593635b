#include "disk_free_space.h"

namespace orvis {

int64_t freeMegabytes(const platform::DiskSpaceReader& disks, const std::string& mountPath) {
  if (mountPath.empty() || mountPath.front() != '/') return 0;
  auto space = disks.read(mountPath);
  if (!space) return 0;
  return static_cast<int64_t>(space->freeBytes / 1024 / 1024);
}

}  // namespace orvis
