// The alarm sound player on a recording device: what reaches the device,
// how often, and what a stop, a late notice or a broken file or device do.

#include "monitor/alerting/alarm_sound_player.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>

#include "platform/codec.h"
#include "support/fake_sound_output.h"
#include "support/temp_dir.h"

// Counts every allocation of the test program, to show that playing
// allocates nothing.
namespace {
long gAllocations = 0;
}
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t bytes) {
  ++gAllocations;
  if (void* p = std::malloc(bytes ? bytes : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

using namespace orvis;
using namespace orvis::testing;

namespace {

std::string le32(std::uint32_t v) {
  return {char(v & 0xff), char(v >> 8 & 0xff), char(v >> 16 & 0xff), char(v >> 24)};
}
std::string chunk(const std::string& id, const std::string& body) {
  return id + le32(std::uint32_t(body.size())) + body + std::string(body.size() % 2, '\0');
}
std::string wave(const std::string& chunks) {
  return "RIFF" + le32(std::uint32_t(4 + chunks.size())) + "WAVE" + chunks;
}
// Sample bytes unlike their neighbours, so that lost, doubled or reordered
// bytes show; in a file with a format chunk before them.
std::string samples(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = char((i * 7 + i / 251) & 0xff);
  return s;
}
const std::string kFormat = chunk("fmt ", std::string(16, '\1'));
std::string waveOf(const std::string& sound) { return wave(kFormat + chunk("data", sound)); }

int openDescriptors() {
  int n = 0;
  DIR* d = ::opendir("/proc/self/fd");
  while (d && ::readdir(d)) ++n;
  if (d) ::closedir(d);
  return n;
}

struct PlayerRig {
  explicit PlayerRig(const std::string& file = waveOf(samples(20000))) {
    writeText(player.soundFile(), file);
    player.initialise();
  }
  // Lets the device play everything and the repeat timer expire, play after
  // play, until the player rests or `limit` plays have ended.
  std::size_t playThrough(std::size_t limit = 6) {
    for (int i = 0; i < 100 && (player.playing() || player.repeatTimer().enabled()); ++i) {
      output.finishAll();
      if (output.openedDevices.size() >= limit) break;
      player.repeatTimer().fire();
    }
    return output.openedDevices.size();
  }
  bool resting() { return !player.playing() && !player.repeatTimer().enabled(); }

  TempDir dir;
  FakeSoundOutput output;
  std::string deviceSetting;
  std::vector<std::string> log;
  AlarmSoundPlayer player{output, deviceSetting, dir.path() + AlarmSoundPlayer::kSoundFileName,
                          [this](const std::string& line) { log.push_back(line); }};
};

TEST(AlarmSoundPlayer, FillsTheRingInFileOrderAndEndsWhenTheLastBufferIsBack) {
  struct Case {
    std::size_t bytes;
    std::vector<std::size_t> firstFill;
  } cases[] = {
      {20000, {8000, 8000, 4000}}, {100, {100}}, {8000, {8000}}, {50002, {8000, 8000, 8000}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    PlayerRig rig(waveOf(samples(c.bytes)));
    rig.player.soundAlarm("1");
    EXPECT_EQ(rig.output.queuedSizes, c.firstFill);
    EXPECT_EQ(rig.player.freeBuffers(), 3 - int(c.firstFill.size()));
    // A second start changes nothing.
    EXPECT_EQ(rig.player.start(), AlarmSoundPlayer::kNotStarted);
    EXPECT_EQ(rig.output.queuedSizes, c.firstFill);
    while (rig.output.queued() > 1) {
      rig.output.finishNext();
      EXPECT_TRUE(rig.player.playing());
      EXPECT_FALSE(rig.player.repeatTimer().enabled());
    }
    rig.output.finishNext();
    EXPECT_FALSE(rig.player.playing());
    EXPECT_TRUE(rig.player.repeatTimer().enabled());
    EXPECT_FALSE(rig.output.isOpen);
    EXPECT_TRUE(rig.output.played == samples(c.bytes)) << rig.output.played.size() << " bytes";
  }
}

TEST(AlarmSoundPlayer, PlaysTheSetCountThenRests) {
  struct Case {
    const char* playCount;
    std::size_t plays;  // 6: still going after six
  } cases[] = {{"2", 2}, {"1", 1}, {"0", 0}, {"-1", 6}, {"", 6}, {"-9", 6}, {"two", 6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.playCount);
    PlayerRig rig(waveOf(samples(12346)));
    rig.player.soundAlarm(c.playCount);
    EXPECT_EQ(rig.playThrough(6), c.plays);
    EXPECT_EQ(rig.output.played.size(), 12346 * c.plays);
    EXPECT_EQ(rig.resting(), c.plays < 6);
  }
}

TEST(AlarmSoundPlayer, NothingPlaysAfterAStopALostDeviceOrTheShutDown) {
  struct Case {
    const char* what;
    std::function<int(PlayerRig&)> end;
    int result;
  } cases[] = {
      {"stop during a play", [](PlayerRig& r) { return r.output.finishNext(), r.player.stop(); },
       0},
      // The file ended; the next play was 100 ms away.
      {"stop between plays", [](PlayerRig& r) { return r.output.finishAll(), r.player.stop(); },
       -1},
      {"close fails", [](PlayerRig& r) { return r.output.failClose = true, r.player.stop(); }, -1},
      {"device gone", [](PlayerRig& r) { return r.output.finishNext(), r.output.disappear(), 0; },
       0},
      {"shut down", [](PlayerRig& r) { return r.player.shutDown(); }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PlayerRig rig;
    rig.player.playTestSound();
    EXPECT_EQ(c.end(rig), c.result);
    rig.output.deliverPosted();
    EXPECT_EQ(rig.playThrough(), 1u);
    EXPECT_TRUE(rig.resting());
    EXPECT_FALSE(rig.output.isOpen);
  }
}

TEST(AlarmSoundPlayer, NoticesOfAStoppedPlaybackNeverTouchTheNextOne) {
  PlayerRig rig;
  rig.player.playTestSound();
  rig.output.finishNext();
  // The next pass restarts the alarm; the old buffers' notices come late.
  rig.player.soundAlarm("1");
  rig.output.played.clear();
  rig.output.deliverPosted();
  EXPECT_EQ(rig.player.freeBuffers(), 0);
  EXPECT_EQ(rig.output.queuedSizes, (std::vector<std::size_t>{8000, 8000, 4000}));
  EXPECT_EQ(rig.playThrough(), 2u);
  EXPECT_TRUE(rig.output.played == samples(20000));
}

TEST(AlarmSoundPlayer, PlaysOnTheNamedDeviceElseOnTheStandardOne) {
  const std::vector<std::string> two{"Speakers", "Headphones"};
  struct Case {
    std::vector<std::string> present;
    std::string setting;
    int device;
  } cases[] = {{two, "Headphones", 1},  {two, "Speakers", 0},   {two, "", -1},
               {two, "headphones", -1}, {two, "Unplugged", -1}, {{}, "Headphones", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    PlayerRig rig;
    rig.output.names = c.present;
    rig.deviceSetting = c.setting;
    EXPECT_EQ(rig.player.start(), AlarmSoundPlayer::kStarted);
    EXPECT_EQ(rig.output.openedDevices, std::vector<int>{c.device});
    // The settings dialog's list: replaced, or kept when there is no device.
    std::vector<std::string> list{"initial"};
    EXPECT_EQ(rig.player.outputDeviceNames(list), c.present.empty() ? -1 : 0);
    EXPECT_EQ(list, c.present.empty() ? std::vector<std::string>{"initial"} : c.present);
  }
  // A device the system lists but that cannot play is not offered; chosen,
  // the standard device plays instead, logged once. No device at all: once too.
  PlayerRig rig;
  rig.output.names = two, rig.output.unplayable = {"Headphones"}, rig.deviceSetting = "Headphones";
  for (int play = 0; play < 2; ++play) rig.player.start(), rig.player.stop();
  std::vector<std::string> list;
  rig.player.outputDeviceNames(list);
  EXPECT_EQ(list, std::vector<std::string>{"Speakers"});
  rig.output.failOpen = true;
  for (int play = 0; play < 2; ++play) rig.player.start();
  EXPECT_EQ(rig.output.openedDevices, (std::vector<int>{-1, -1}));
  ASSERT_EQ(rig.log.size(), 2u);
  EXPECT_EQ(rig.log[1], SJIS("ブザー再生用デバイスが見つかりません。"));
}

TEST(AlarmSoundPlayer, SilentWithoutAWaveDataChunkOrADeviceAndNothingStaysOpen) {
  const std::string data = chunk("data", samples(100));
  struct Case {
    const char* what;
    std::string bytes;  // "-": no file at all
    int result = AlarmSoundPlayer::kNotStarted;
  } cases[] = {{"device fails", waveOf(samples(100)), AlarmSoundPlayer::kDeviceFailed},
               {"missing", "-"},
               {"empty", ""},
               {"RIFX", "RIFX" + waveOf(samples(100)).substr(4)},
               {"AVI", "RIFF" + le32(100) + "AVI " + data},
               {"no data chunk", wave(kFormat + chunk("LIST", "abc"))},
               {"chunk past the end", wave(kFormat + "LIST" + le32(1000) + data)},
               {"short header", "RIFF\4\0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PlayerRig rig(c.bytes);
    if (c.bytes == "-") std::remove(rig.player.soundFile().c_str());
    rig.output.failOpen = true;
    const int descriptors = openDescriptors();
    EXPECT_EQ(rig.player.start(), c.result);
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_FALSE(rig.player.playing());
  }
}

TEST(AlarmSoundPlayer, OddChunksArePaddedAndWhatFollowsTheDataSoundsToo) {
  const std::string trailer = chunk("LIST", "INFOtail");
  PlayerRig rig(wave(kFormat + chunk("junk", "odd") + chunk("data", samples(9001)) + trailer));
  rig.player.soundAlarm("1");
  rig.output.finishAll();
  EXPECT_TRUE(rig.output.played == samples(9001) + '\0' + trailer);
}

TEST(AlarmSoundPlayer, PlayingAllocatesNothing) {
  PlayerRig rig(waveOf(samples(50000)));
  rig.output.names = {"Speakers", "Headphones"};
  rig.deviceSetting = "Headphones";
  const long before = gAllocations;
  rig.player.soundAlarm("3");
  rig.playThrough();
  rig.player.playTestSound();
  rig.output.finishNext();
  rig.player.soundAlarm("-1");
  rig.output.deliverPosted();
  rig.playThrough(8);
  rig.player.stop();
  const long during = gAllocations - before;
  EXPECT_EQ(during, 0);
  EXPECT_EQ(rig.output.openedDevices.size(), 8u);
}

}  // namespace
