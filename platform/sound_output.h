#pragma once
// A wave output device as the alarm player sees it: devices listed by
// number and name, one fixed format, buffers queued in order and handed
// back once they have sounded.
//
// Notices never arrive from inside a call of the output: they come later,
// on the window thread, as window messages did. Each carries the playback
// number given to open(), so that a listener can tell the notices of a
// playback it has already stopped from those of the current one.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvis::platform {

// The one format every device is opened with.
struct SoundFormat {
  static constexpr int kFormatCode = 1;  // PCM
  static constexpr int kChannels = 1;
  static constexpr int kSamplesPerSecond = 8000;
  static constexpr int kBitsPerSample = 16;  // signed, little-endian
  static constexpr int kBlockAlign = 2;
  static constexpr int kBytesPerSecond = 16000;
};

class SoundOutputListener {
 public:
  virtual ~SoundOutputListener() = default;
  // The buffer queued under `slot` has been played and belongs to the
  // caller again.
  virtual void bufferDone(std::uint32_t playback, int slot) = 0;
  // The device of `playback` went away. Every buffer still queued then
  // comes back through bufferDone.
  virtual void outputClosed(std::uint32_t playback) = 0;
};

class SoundOutput {
 public:
  // The device number that stands for the system's standard output.
  static constexpr int kStandardDevice = -1;
  static constexpr std::size_t kMaxNameLength = 31;

  virtual ~SoundOutput() = default;

  virtual void setListener(SoundOutputListener* listener) = 0;

  // Looks the devices up afresh; 0 when there is none.
  virtual int deviceCount() = 0;
  // The name of a device counted by the last deviceCount(), at most
  // kMaxNameLength bytes; empty for a number out of range. Valid until the
  // next deviceCount().
  virtual std::string_view deviceName(int number) = 0;
  // Whether a device counted by the last deviceCount() opens in SoundFormat
  // now: some a system lists only help other devices along and play
  // nothing themselves.
  virtual bool canPlay(int number) = 0;

  // Opens a device (a number from deviceCount(), or kStandardDevice) in
  // SoundFormat; its notices will carry `playback`. False when it cannot be
  // opened.
  virtual bool open(int device, std::uint32_t playback) = 0;
  // Queues bytes of samples to be played after those queued before. The
  // bytes stay the caller's, untouched, until bufferDone gives the slot
  // back. False when nothing is open or the queue is full.
  virtual bool queue(int slot, const std::byte* data, std::size_t bytes) = 0;
  // Stops at once; every queued buffer belongs to the caller again. Notices
  // of this playback may still arrive afterwards: they are stale.
  virtual void reset() = 0;
  // Closes the device. False when the device reported an error.
  virtual bool close() = 0;
};

}  // namespace orvis::platform
