#pragma once
// An output device that records what it is given and plays only when told.
// Like a device that reports through window messages, a reset hands the
// queued buffers back as posted notices that a test delivers when it likes,
// late, to a later playback. It allocates nothing once constructed, so that
// allocation counts see only the player.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/sound_output.h"

namespace orvis::testing {

class FakeSoundOutput : public platform::SoundOutput {
 public:
  FakeSoundOutput() {
    openedDevices.reserve(1000), queuedSizes.reserve(1000), played.reserve(1 << 22);
    fifo_.reserve(16), posted_.reserve(16);
  }

  void setListener(platform::SoundOutputListener* listener) override { listener_ = listener; }
  int deviceCount() override { return int(names.size()); }
  std::string_view deviceName(int number) override { return names.at(number); }
  bool canPlay(int number) override { return !failOpen && !silent(number); }
  bool open(int device, std::uint32_t playback) override {
    if (failOpen || silent(device)) return false;
    openedDevices.push_back(device), queuedSizes.clear();
    playback_ = playback;
    return isOpen = true;
  }
  bool queue(int slot, const std::byte* data, std::size_t bytes) override {
    if (!isOpen || fifo_.size() == 16) return false;
    fifo_.push_back({playback_, slot, data, bytes}), queuedSizes.push_back(bytes);
    return true;
  }
  void reset() override {
    posted_.insert(posted_.end(), fifo_.begin(), fifo_.end()), fifo_.clear();
  }
  bool close() override { return !(isOpen = false) && !failClose; }

  // Plays the oldest buffer and reports it; false when idle.
  bool finishNext() {
    if (fifo_.empty()) return false;
    const Entry e = fifo_.front();
    fifo_.erase(fifo_.begin());
    played.append(reinterpret_cast<const char*>(e.data), e.bytes);
    listener_->bufferDone(e.playback, e.slot);
    return true;
  }
  void finishAll() {
    for (int i = 0; i < 100000 && finishNext(); ++i) {  // bounded: endless queueing is a fault
    }
  }
  // The device goes away while playing: closed, then every buffer back.
  void disappear() {
    listener_->outputClosed(playback_);
    while (!fifo_.empty()) reset(), deliverPosted();
  }
  void deliverPosted() {
    for (const Entry& e : posted_) listener_->bufferDone(e.playback, e.slot);
    posted_.clear();
  }
  std::size_t queued() const { return fifo_.size(); }

  std::vector<std::string> names;
  std::vector<std::string> unplayable;  // listed, but will not open
  std::vector<int> openedDevices;
  std::vector<std::size_t> queuedSizes;  // since the last open
  std::string played;                    // every byte that sounded, in order
  bool isOpen = false, failOpen = false, failClose = false;

 private:
  bool silent(int device) const {
    return device >= 0 && std::count(unplayable.begin(), unplayable.end(), names.at(device));
  }
  struct Entry {
    std::uint32_t playback;
    int slot;
    const std::byte* data;
    std::size_t bytes;
  };
  platform::SoundOutputListener* listener_ = nullptr;
  std::uint32_t playback_ = 0;
  std::vector<Entry> fifo_, posted_;
};

}  // namespace orvis::testing
