#pragma once
// Size and free space of the file system that holds a path, as
// GetDiskFreeSpaceEx gives them for a drive. The monitor is handed a reader;
// tests hand in a fake.

#include <cstdint>
#include <optional>
#include <string>

namespace orvis::platform {

struct DiskSpace {
  uint64_t totalBytes = 0;
  uint64_t freeBytes = 0;       // every free block, the reserved ones included
  uint64_t availableBytes = 0;  // what an unprivileged user may still write
};

class DiskSpaceReader {
 public:
  virtual ~DiskSpaceReader() = default;
  // nullopt when the path does not exist or cannot be queried.
  virtual std::optional<DiskSpace> read(const std::string& path) const = 0;
};

}  // namespace orvis::platform
