#include "alarm_sound_player.h"

#include <new>

#include "platform/bytes.h"
#include "platform/codec.h"

namespace orvis {

using platform::SoundOutput;

AlarmSoundPlayer::AlarmSoundPlayer(SoundOutput& output, const std::string& deviceName,
                                   std::string soundFile, LogLine log)
    : output_(output),
      deviceName_(deviceName),
      soundFile_(std::move(soundFile)),
      log_(std::move(log)) {
  output_.setListener(this);
  repeatTimer_.setHandler([this] { repeatTick(); });
}

AlarmSoundPlayer::~AlarmSoundPlayer() {
  shutDown();
  output_.setListener(nullptr);
}

int AlarmSoundPlayer::initialise() {
  if (ready()) return -1;
  // Zero-filled, so that nothing stale can ever sound.
  ring_.reset(new (std::nothrow) std::byte[kRingBuffers * kBufferBytes]());
  return ready() ? 0 : -1;
}

int AlarmSoundPlayer::shutDown() {
  stop();
  repeatTimer_.setEnabled(false);
  ring_.reset();
  return 0;
}

int AlarmSoundPlayer::outputDeviceNames(std::vector<std::string>& names) {
  const int count = output_.deviceCount();
  if (count <= 0) return -1;
  std::vector<std::string> playing;
  for (int i = 0; i < count; ++i)
    if (output_.canPlay(i)) playing.emplace_back(output_.deviceName(i));
  if (playing.empty()) return -1;
  names = std::move(playing);
  return 0;
}

int AlarmSoundPlayer::deviceNumber(std::string_view name) {
  const int count = output_.deviceCount();
  for (int i = 0; i < count; ++i)
    if (output_.deviceName(i) == name) return i;
  return -1;
}

int AlarmSoundPlayer::start() {
  if (!ready() || playing_) return kNotStarted;
  if (!file_.open(soundFile_)) return kNotStarted;
  ++playback_;
  if (!openDevice()) {
    file_.close();
    return kDeviceFailed;
  }
  queued_.fill(false);
  freeBuffers_ = kRingBuffers;
  for (int slot = 0; slot < kRingBuffers; ++slot)
    if (!refill(slot)) break;
  stopRequested_ = false;
  playing_ = true;
  return kStarted;
}

bool AlarmSoundPlayer::openDevice() {
  if (!deviceName_.empty()) {
    const int device = deviceNumber(deviceName_);
    if (device >= 0 && output_.open(device, playback_)) {
      fallbackLogged_ = noDeviceLogged_ = false;
      return true;
    }
    // A silent alarm nobody knows of is the worst outcome: the standard
    // device plays instead, and the log says why.
    logOnce(
        fallbackLogged_,
        SJIS("警告ブザー再生デバイスで再生できません。標準デバイスで再生します。->") + deviceName_);
  }
  if (output_.open(SoundOutput::kStandardDevice, playback_)) {
    noDeviceLogged_ = false;
    return true;
  }
  logOnce(noDeviceLogged_, SJIS("ブザー再生用デバイスが見つかりません。"));
  return false;
}

void AlarmSoundPlayer::logOnce(bool& logged, const std::string& line) {
  if (logged) return;
  logged = true;
  if (log_) log_(line);
}

bool AlarmSoundPlayer::refill(int slot) {
  const std::size_t bytes = file_.read(buffer(slot), kBufferBytes);
  if (bytes < 1 || !output_.queue(slot, buffer(slot), bytes)) return false;
  queued_[slot] = true;
  --freeBuffers_;
  return true;
}

int AlarmSoundPlayer::stop() {
  if (!ready()) return -1;
  // Also between two plays: a stop then means no further play.
  repeatTimer_.setEnabled(false);
  if (!playing_) return -1;
  stopRequested_ = true;
  output_.reset();
  const bool closed = output_.close();
  file_.close();
  queued_.fill(false);
  freeBuffers_ = kRingBuffers;
  playing_ = false;
  return closed ? 0 : -1;
}

void AlarmSoundPlayer::bufferDone(std::uint32_t playback, int slot) {
  // A notice of a stopped playback, or of a buffer not queued, must not
  // touch the ring of the current one.
  if (!playing_ || playback != playback_ || slot < 0 || slot >= kRingBuffers || !queued_[slot])
    return;
  queued_[slot] = false;
  ++freeBuffers_;
  if (!stopRequested_ && refill(slot)) return;
  if (freeBuffers_ < kRingBuffers) return;
  // The last buffer has sounded. After a device that went away this play
  // counts as the last one.
  if (stopRequested_) remainingPlays_ = 1;
  stop();
  repeatTimer_.setEnabled(true);
}

void AlarmSoundPlayer::outputClosed(std::uint32_t playback) {
  if (playing_ && playback == playback_) stopRequested_ = true;
}

void AlarmSoundPlayer::repeatTick() {
  repeatTimer_.setEnabled(false);
  if (remainingPlays_ > 0) --remainingPlays_;
  if (remainingPlays_ != 0) start();
}

void AlarmSoundPlayer::soundAlarm(std::string_view playCount) {
  stop();
  remainingPlays_ = platform::parseInt(playCount).value_or(-1);
  if (remainingPlays_ != 0) start();
}

void AlarmSoundPlayer::playTestSound() {
  stop();
  remainingPlays_ = -1;
  start();
}

}  // namespace orvis
