#pragma once
// A machine without a sound device, for programs that never sound the
// alarm (the command-line verbs).

#include "sound_output.h"

namespace orvis::platform {

class NoSoundOutput : public SoundOutput {
 public:
  void setListener(SoundOutputListener*) override {}
  int deviceCount() override { return 0; }
  std::string_view deviceName(int) override { return {}; }
  bool canPlay(int) override { return false; }
  bool open(int, std::uint32_t) override { return false; }
  bool queue(int, const std::byte*, std::size_t) override { return false; }
  void reset() override {}
  bool close() override { return true; }
};

}  // namespace orvis::platform
