#include "mode_file.h"

#include "platform/bytes.h"

namespace orvis {

void ModeFile::ExecModeWrite(int mode) {
  s_.ini.IniWriteRetry(s_.path("Mode.tmp"), "COMMON", "MODE", std::to_string(mode));
}

int ModeFile::ExecModeRead() {
  return platform::parseInt(s_.ini.IniReadRetry(s_.path("Mode.tmp"), "COMMON", "MODE")).value_or(0);
}

}  // namespace orvis
