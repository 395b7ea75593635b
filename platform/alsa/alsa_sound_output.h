#pragma once
// The alarm player's output on ALSA. Devices are the output PCMs of the
// ALSA name hints but "null"; the standard device is the PCM "default".
// The hints also name helper plugins (rate converters, up-mixers, a JACK
// or OSS bridge) that often cannot play here: canPlay() tells them apart. The PCM is
// non-blocking: it is fed whenever its poll descriptors report room, and a
// buffer counts as done once the device has played its last frame. No
// call ever waits for the device, and every notice reaches the listener
// from a wake of the window thread, never from inside a call.

#include <alsa/asoundlib.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/descriptor_watcher.h"
#include "platform/sound_output.h"
#include "platform/timer.h"

namespace orvis::platform {

class AlsaSoundOutput : public SoundOutput {
 public:
  static constexpr const char* kStandardPcm = "default";
  static constexpr int kMaxQueued = 8;
  // The device's own buffer: half a second.
  static constexpr unsigned kLatencyUs = 500000;

  // The watcher is this output's own; `timers` drives its wake-up timer.
  AlsaSoundOutput(DescriptorWatcher& watcher, TimerDriver* timers);
  ~AlsaSoundOutput() override;
  AlsaSoundOutput(const AlsaSoundOutput&) = delete;
  AlsaSoundOutput& operator=(const AlsaSoundOutput&) = delete;

  void setListener(SoundOutputListener* listener) override { listener_ = listener; }
  int deviceCount() override;
  std::string_view deviceName(int number) override;
  // Opens and configures the PCM and closes it again (the one open now
  // counts as playing).
  bool canPlay(int number) override;
  bool open(int device, std::uint32_t playback) override;
  bool queue(int slot, const std::byte* data, std::size_t bytes) override;
  void reset() override;
  bool close() override;

  // The wake-up timer, for tests that drive it by hand.
  Timer& wakeTimer() { return wakeTimer_; }

 private:
  struct Queued {
    int slot = 0;
    const std::byte* data = nullptr;
    snd_pcm_uframes_t frames = 0;
    snd_pcm_uframes_t written = 0;
    std::uint64_t endFrame = 0;  // frames written to the device once this one is in
  };
  struct Device {
    std::string pcm;    // the ALSA name to open
    std::string shown;  // cut to kMaxNameLength
  };

  static bool configure(snd_pcm_t* pcm);
  // One wake: feeds the device, reports the buffers played, waits again.
  void service();
  // False when the device failed.
  bool writeQueued();
  bool recover(int error);
  std::uint64_t playedFrames();
  void reportPlayed();
  // The device went away: closed notice, then every queued buffer back.
  void fail();
  void arm();
  int popHead();
  Queued& head() { return fifo_[head_]; }

  DescriptorWatcher& watcher_;
  Timer wakeTimer_{"AlsaWake", 1};
  SoundOutputListener* listener_ = nullptr;
  std::vector<Device> devices_;

  snd_pcm_t* pcm_ = nullptr;
  std::string openPcm_;
  bool failed_ = false;
  std::uint32_t playback_ = 0;
  std::vector<pollfd> fds_;
  std::array<Queued, kMaxQueued> fifo_{};
  int head_ = 0;
  int count_ = 0;
  std::uint64_t written_ = 0;  // frames handed to the device since open
};

}  // namespace orvis::platform
