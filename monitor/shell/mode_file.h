#pragma once
// The persisted operating mode, "Mode.tmp" in the data folder:
// 0 edit/manual, 1 automatic with the window shown, 2 automatic in the
// background.

#include "services.h"

namespace orvis {

class ModeFile {
 public:
  explicit ModeFile(const Services& services) : s_(services) {}

  void save(int mode);
  // A missing file or key, or a value that is not a number, reads as 0.
  int load();

 private:
  const Services& s_;
};

}  // namespace orvis
