#include "statvfs_disk_space_reader.h"

#include <sys/statvfs.h>

namespace orvis::platform {

std::optional<DiskSpace> StatvfsDiskSpaceReader::read(const std::string& path) const {
  if (path.empty()) return std::nullopt;
  struct statvfs st;
  if (::statvfs(path.c_str(), &st) != 0) return std::nullopt;
  // Block counts are in units of the fragment size.
  uint64_t unit = st.f_frsize ? st.f_frsize : st.f_bsize;
  return DiskSpace{static_cast<uint64_t>(st.f_blocks) * unit,
                   static_cast<uint64_t>(st.f_bfree) * unit,
                   static_cast<uint64_t>(st.f_bavail) * unit};
}

}  // namespace orvis::platform
