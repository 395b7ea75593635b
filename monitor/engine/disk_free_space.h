#pragma once
// The free space of the file system mounted at a path.

#include <cstdint>
#include <string>

#include "platform/disk_space_reader.h"

namespace orvis {

// Every free block (the reserved ones included) in whole megabytes, each
// division by 1024 truncating. 0 when the query fails, and for a relative
// path, which names no disk (a Windows target such as "C:10" arrives as "C").
int64_t freeMegabytes(const platform::DiskSpaceReader& disks, const std::string& mountPath);

}  // namespace orvis
