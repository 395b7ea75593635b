#pragma once
// The alarm sound player of the hidden audio form: three rotating buffers
// of half a second each, streamed to the output device.

#include <array>
#include <memory>
#include <vector>

namespace orvis {

class AlarmPlayer {
 public:
  static constexpr int kBuffers = 3;
  static constexpr size_t kBufferBytes = 8000;

  // Allocates the ring once. 0 on success; -1 when it fails or was done.
  int devInit();
  // Stops any playback and frees the ring. 0.
  int devUnInit();

  bool ready() const { return ready_; }

 private:
  bool ready_ = false;
  std::vector<std::array<char, kBufferBytes>> ring_;
};

}  // namespace orvis
