#pragma once

#include "disk_space_reader.h"

namespace orvis::platform {

class StatvfsDiskSpaceReader : public DiskSpaceReader {
 public:
  std::optional<DiskSpace> read(const std::string& path) const override;
};

}  // namespace orvis::platform
