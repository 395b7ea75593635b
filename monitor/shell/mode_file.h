#pragma once
// The persisted operating mode, "Mode.tmp" in the data folder:
// 0 edit/manual, 1 automatic with the window shown, 2 automatic in the
// background.

#include <string>

#include "ini_access.h"

namespace orvis {

class ModeFile {
 public:
  ModeFile(const IniAccess& ini, const std::string& dataFolder)
      : ini_(ini), path_(dataFolder + "Mode.tmp") {}

  void save(int mode);
  // A missing file or key, or a value that is not a number, reads as 0.
  int load();

 private:
  const IniAccess& ini_;
  std::string path_;
};

}  // namespace orvis
