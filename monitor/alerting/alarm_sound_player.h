#pragma once
// The alarm sound player of the hidden audio form: streams the sound file
// to the chosen output device through a ring of three buffers of half a
// second each, and plays it again 100 ms after it ends until the remaining
// plays are used up (for ever while they are negative).
//
// The ring is allocated once by initialise(); from then on playing
// allocates nothing. Everything runs on the window thread: the output's
// notices and the repeat timer arrive there.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sound_output.h"
#include "platform/timer.h"
#include "riff_reader.h"

namespace orvis {

class AlarmSoundPlayer : public platform::SoundOutputListener {
 public:
  static constexpr int kRingBuffers = 3;
  static constexpr std::size_t kBufferBytes = 8000;
  static constexpr int kRepeatIntervalMs = 100;
  static constexpr const char* kSoundFileName = "buzzer.wav";

  // Results of start().
  static constexpr int kStarted = 0;
  static constexpr int kDeviceFailed = 1;
  static constexpr int kNotStarted = 255;

  // Where the player says that it could not play where it was asked to.
  using LogLine = std::function<void(const std::string& line)>;

  // `deviceName` is the in-memory alarm device setting, read at each
  // start; `soundFile` the alarm's file (data folder + kSoundFileName).
  AlarmSoundPlayer(platform::SoundOutput& output, const std::string& deviceName,
                   std::string soundFile, LogLine log = {});
  ~AlarmSoundPlayer() override;
  AlarmSoundPlayer(const AlarmSoundPlayer&) = delete;
  AlarmSoundPlayer& operator=(const AlarmSoundPlayer&) = delete;

  // Allocates the ring. 0; -1 when that fails or was already done.
  int initialise();
  // Stops any playback and frees the ring. 0.
  int shutDown();

  // Replaces `names` by the names of the output devices that can play, by
  // number from 0, and returns 0; returns -1 and leaves `names` alone when
  // there is none.
  int outputDeviceNames(std::vector<std::string>& names);
  // The number of the first device named exactly `name`; -1 when none is.
  int deviceNumber(std::string_view name);

  // Plays the sound file from its beginning on the alarm device (the
  // standard device when the setting is empty; also, logged once, when it
  // names a device that is gone or cannot play). kStarted; kDeviceFailed
  // when no device would open (logged once until one opens); kNotStarted
  // when not initialised, already playing, or the file is missing or has
  // no RIFF/WAVE data chunk.
  int start();
  // 0 stopped; -1 when nothing was playing or the device did not close
  // cleanly. Either way no repeat follows.
  int stop();

  // The alarm at the end of a pass: stops what plays and plays the sound
  // file `playCount` times (endlessly when negative or not a number; not
  // at all for 0).
  void soundAlarm(std::string_view playCount);
  // The sound check: the sound file, endlessly, from its beginning.
  void playTestSound();

  // The repeat timer (100 ms, off until a playback ends by itself). The
  // host attaches its timer driver; tests fire it.
  platform::Timer& repeatTimer() { return repeatTimer_; }
  // What an expiry of the repeat timer does.
  void repeatTick();

  // The output's notices.
  void bufferDone(std::uint32_t playback, int slot) override;
  void outputClosed(std::uint32_t playback) override;

  bool ready() const { return ring_ != nullptr; }
  bool playing() const { return playing_; }
  bool stopRequested() const { return stopRequested_; }
  int freeBuffers() const { return freeBuffers_; }
  int remainingPlays() const { return remainingPlays_; }
  void setRemainingPlays(int plays) { remainingPlays_ = plays; }
  const std::string& soundFile() const { return soundFile_; }

 private:
  std::byte* buffer(int slot) { return ring_.get() + slot * kBufferBytes; }
  // Fills the buffer from the file and queues it; false at the end of the
  // file or when the output refuses it.
  bool refill(int slot);
  // Opens the chosen device, else the standard one; false when neither opens.
  bool openDevice();
  void logOnce(bool& logged, const std::string& line);

  platform::SoundOutput& output_;
  const std::string& deviceName_;
  const std::string soundFile_;
  platform::Timer repeatTimer_{"TmrPlayDone", kRepeatIntervalMs};
  RiffReader file_;

  std::unique_ptr<std::byte[]> ring_;
  std::array<bool, kRingBuffers> queued_{};
  int freeBuffers_ = kRingBuffers;
  bool playing_ = false;
  bool stopRequested_ = false;
  int remainingPlays_ = 0;
  // Numbers each playback, so that notices of one already stopped are
  // told apart from those of the current one.
  std::uint32_t playback_ = 0;
  LogLine log_;
  // What was said already: once, until a device opens again.
  bool fallbackLogged_ = false;
  bool noDeviceLogged_ = false;
};

}  // namespace orvis
