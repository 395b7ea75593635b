#include "mode_file.h"

#include "platform/bytes.h"

namespace orvis {

void ModeFile::save(int mode) { ini_.write(path_, "COMMON", "MODE", std::to_string(mode)); }

int ModeFile::load() { return platform::parseInt(ini_.read(path_, "COMMON", "MODE")).value_or(0); }

}  // namespace orvis
