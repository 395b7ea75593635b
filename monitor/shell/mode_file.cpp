#include "mode_file.h"

#include "platform/bytes.h"

namespace orvis {

void ModeFile::save(int mode) {
  s_.ini.write(s_.path("Mode.tmp"), "COMMON", "MODE", std::to_string(mode));
}

int ModeFile::load() {
  return platform::parseInt(s_.ini.read(s_.path("Mode.tmp"), "COMMON", "MODE")).value_or(0);
}

}  // namespace orvis
