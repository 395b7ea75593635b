#include "alarm_player.h"

#include <new>

namespace orvis {

int AlarmPlayer::devInit() {
  if (ready_) return -1;
  try {
    ring_.assign(kBuffers, std::array<char, kBufferBytes>{});
  } catch (const std::bad_alloc&) {
    ring_.clear();
    return -1;
  }
  ready_ = true;
  return 0;
}

int AlarmPlayer::devUnInit() {
  if (ready_) {
    ring_.clear();
    ring_.shrink_to_fit();
  }
  ready_ = false;
  return 0;
}

}  // namespace orvis
