#include "alsa_sound_output.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace orvis::platform {

namespace {

constexpr int kFrameBytes = SoundFormat::kBlockAlign;
// Without poll descriptors the device is fed on a timer instead.
constexpr int kFeedIntervalMs = 20;

// alsa-lib reports every failed lookup on stderr; on a machine without
// sound that would be a few lines per alarm. A silent alarm is the rule
// there, so its complaints are dropped.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

AlsaSoundOutput::AlsaSoundOutput(DescriptorWatcher& watcher, TimerDriver* timers)
    : watcher_(watcher) {
  snd_lib_error_set_handler(quietAlsa);
  watcher_.setHandler([this] { service(); });
  wakeTimer_.setHandler([this] { service(); });
  if (timers) wakeTimer_.attach(timers);
}

AlsaSoundOutput::~AlsaSoundOutput() {
  close();
  watcher_.setHandler(nullptr);
}

int AlsaSoundOutput::deviceCount() {
  devices_.clear();
  void** hints = nullptr;
  if (snd_device_name_hint(-1, "pcm", &hints) < 0) return 0;
  for (void** hint = hints; *hint; ++hint) {
    char* name = snd_device_name_get_hint(*hint, "NAME");
    char* direction = snd_device_name_get_hint(*hint, "IOID");  // none: both ways
    // "null" is in every configuration and sounds nowhere: a machine with
    // nothing else has no output device.
    if (name && std::strcmp(name, "null") != 0 &&
        (!direction || std::strcmp(direction, "Output") == 0)) {
      std::string pcm(name);
      devices_.push_back({pcm, pcm.substr(0, kMaxNameLength)});
    }
    std::free(name);
    std::free(direction);
  }
  snd_device_name_free_hint(hints);
  return int(devices_.size());
}

std::string_view AlsaSoundOutput::deviceName(int number) {
  if (number < 0 || number >= int(devices_.size())) return {};
  return devices_[number].shown;
}

bool AlsaSoundOutput::canPlay(int number) {
  if (number < 0 || number >= int(devices_.size())) return false;
  const std::string& name = devices_[number].pcm;
  if (pcm_ && name == openPcm_) return true;  // it plays now
  snd_pcm_t* probe = nullptr;
  if (snd_pcm_open(&probe, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
    return false;
  const bool plays = configure(probe);
  snd_pcm_close(probe);
  return plays;
}

bool AlsaSoundOutput::open(int device, std::uint32_t playback) {
  close();
  const char* name = kStandardPcm;
  if (device != kStandardDevice) {
    if (device < 0 || device >= int(devices_.size())) return false;
    name = devices_[device].pcm.c_str();
  }
  if (snd_pcm_open(&pcm_, name, SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
    pcm_ = nullptr;
    return false;
  }
  const int descriptors = configure(pcm_) ? snd_pcm_poll_descriptors_count(pcm_) : -1;
  if (descriptors < 0) {
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
    return false;
  }
  openPcm_ = name;
  fds_.resize(descriptors);
  snd_pcm_poll_descriptors(pcm_, fds_.data(), descriptors);
  playback_ = playback;
  failed_ = false;
  head_ = count_ = 0;
  written_ = 0;
  if (!fds_.empty()) watcher_.watch(fds_);
  arm();
  return true;
}

bool AlsaSoundOutput::configure(snd_pcm_t* pcm) {
  if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                         SoundFormat::kChannels, SoundFormat::kSamplesPerSecond,
                         1 /* resample where the device needs it */, kLatencyUs) < 0)
    return false;
  // Start with the first frame, as a queued buffer starts at once: a sound
  // shorter than the device's buffer would never start otherwise.
  snd_pcm_sw_params_t* sw;
  snd_pcm_sw_params_alloca(&sw);
  return snd_pcm_sw_params_current(pcm, sw) == 0 &&
         snd_pcm_sw_params_set_start_threshold(pcm, sw, 1) == 0 && snd_pcm_sw_params(pcm, sw) == 0;
}

bool AlsaSoundOutput::queue(int slot, const std::byte* data, std::size_t bytes) {
  if (!pcm_ || failed_ || count_ == kMaxQueued) return false;
  Queued& entry = fifo_[(head_ + count_) % kMaxQueued];
  entry = {slot, data, bytes / kFrameBytes, 0, written_};
  ++count_;
  arm();
  return true;
}

void AlsaSoundOutput::reset() {
  if (!pcm_) return;
  snd_pcm_drop(pcm_);
  snd_pcm_prepare(pcm_);
  head_ = count_ = 0;
  arm();
}

bool AlsaSoundOutput::close() {
  if (!pcm_) return true;
  watcher_.clear();
  wakeTimer_.setEnabled(false);
  const int error = snd_pcm_close(pcm_);
  pcm_ = nullptr;
  openPcm_.clear();
  fds_.clear();
  head_ = count_ = 0;
  return error == 0;
}

void AlsaSoundOutput::service() {
  if (!pcm_) return;
  if (!fds_.empty()) {
    // Lets the PCM's plugins take note of the wake (some must clear the
    // descriptor that woke us); errors show in the writes below.
    ::poll(fds_.data(), fds_.size(), 0);
    unsigned short revents = 0;
    snd_pcm_poll_descriptors_revents(pcm_, fds_.data(), fds_.size(), &revents);
  }
  if (!failed_ && !writeQueued()) {
    fail();
    return;
  }
  reportPlayed();
  if (pcm_) arm();
}

bool AlsaSoundOutput::writeQueued() {
  bool recovered = false;
  for (int i = 0; i < count_; ++i) {
    Queued& q = fifo_[(head_ + i) % kMaxQueued];
    while (q.written < q.frames) {
      const snd_pcm_sframes_t n =
          snd_pcm_writei(pcm_, q.data + q.written * kFrameBytes, q.frames - q.written);
      if (n == -EAGAIN || n == 0) return true;  // full: wait for room
      if (n < 0) {
        // One recovery per wake, so that a broken device cannot hold the
        // window thread in this loop.
        if (recovered || !recover(int(n))) return false;
        recovered = true;
        continue;
      }
      q.written += snd_pcm_uframes_t(n);
      written_ += std::uint64_t(n);
      if (q.written == q.frames) q.endFrame = written_;
    }
  }
  return true;
}

// An underrun (the window thread was late) or a suspend: everything
// written so far is gone or played; go on with the rest.
bool AlsaSoundOutput::recover(int error) {
  if (error == -ESTRPIPE && snd_pcm_resume(pcm_) == 0) return true;
  if (error == -EPIPE || error == -ESTRPIPE) return snd_pcm_prepare(pcm_) == 0;
  return false;
}

std::uint64_t AlsaSoundOutput::playedFrames() {
  snd_pcm_sframes_t delay = 0;
  // A device that is no longer running (it ran dry at the end) has played
  // everything it was given.
  if (snd_pcm_delay(pcm_, &delay) < 0 || delay < 0) delay = 0;
  return written_ > std::uint64_t(delay) ? written_ - std::uint64_t(delay) : 0;
}

void AlsaSoundOutput::reportPlayed() {
  const std::uint32_t playback = playback_;
  while (count_ > 0 && head().written == head().frames && head().endFrame <= playedFrames()) {
    const int slot = popHead();
    if (listener_) listener_->bufferDone(playback, slot);
    // The listener may have closed or reopened the device.
    if (!pcm_ || playback_ != playback) return;
  }
}

void AlsaSoundOutput::fail() {
  failed_ = true;
  watcher_.setEnabled(false);
  wakeTimer_.setEnabled(false);
  const std::uint32_t playback = playback_;
  if (listener_) listener_->outputClosed(playback);
  while (pcm_ && playback_ == playback && count_ > 0) {
    const int slot = popHead();
    if (listener_) listener_->bufferDone(playback, slot);
  }
}

// Waits for room while there is something to write; otherwise for the
// moment the next buffer should have sounded.
void AlsaSoundOutput::arm() {
  bool toWrite = false;
  for (int i = 0; i < count_ && !failed_; ++i) {
    const Queued& q = fifo_[(head_ + i) % kMaxQueued];
    toWrite = toWrite || q.written < q.frames;
  }
  const bool byDescriptors = toWrite && !fds_.empty();
  if (!fds_.empty()) watcher_.setEnabled(byDescriptors);
  if (byDescriptors || count_ == 0 || failed_) {
    wakeTimer_.setEnabled(false);
    return;
  }
  int ms = kFeedIntervalMs;
  if (!toWrite) {
    const std::uint64_t played = playedFrames();
    const std::uint64_t ahead = head().endFrame > played ? head().endFrame - played : 0;
    ms = int(ahead * 1000 / SoundFormat::kSamplesPerSecond) + 1;
  }
  wakeTimer_.setInterval(ms);
  wakeTimer_.setEnabled(true);
}

int AlsaSoundOutput::popHead() {
  const int slot = head().slot;
  head_ = (head_ + 1) % kMaxQueued;
  --count_;
  return slot;
}

}  // namespace orvis::platform
