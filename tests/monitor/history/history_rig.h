#pragma once
// A data folder with jobs and their stored versions, for the history tests:
// the entries are written newest first, an hour apart.

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <string>
#include <vector>

#include "monitor/engine/generations.h"
#include "support/temp_dir.h"

namespace orvis::testing {

struct HistoryFolder {
  TempDir dir;
  // 2026/03/01 12:00:00 local time: the baseline's stamp.
  std::time_t newest = [] {
    std::tm t{};
    t.tm_year = 126, t.tm_mon = 2, t.tm_mday = 1, t.tm_hour = 12, t.tm_isdst = -1;
    return std::mktime(&t);
  }();

  // A job file; `keys` are more "KEY=value" lines (UTF-8).
  void job(const std::string& no, const std::string& type, const std::string& uri,
           const std::string& keys = "") {
    writeText(dir / ("info/" + no + ".ini"),
              sj("[COMMON]\r\nNO=" + no + "\r\nURI=" + uri + "\r\nNAME=ジョブ" + no +
                 "\r\nTYPE=" + type + "\r\n" + keys));
  }
  // The baseline first, then generations 1, 2, ... (bytes as stored).
  void entries(const std::string& no, const std::vector<std::string>& versions) {
    for (std::size_t k = 0; k < versions.size(); ++k) {
      const std::string path = dir / ("src/" + no + ".ini" + (k ? "." + std::to_string(k) : ""));
      writeText(path, versions[k]);
      const timespec at = {newest - static_cast<std::time_t>(3600 * k), 0};
      const timespec times[2] = {at, at};
      ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    }
  }
};

}  // namespace orvis::testing
