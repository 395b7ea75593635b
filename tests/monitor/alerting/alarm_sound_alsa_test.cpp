// The installed buzzer.wav played by the alarm player through ALSA on the
// Qt event loop, as the monitor plays it, with no sound hardware: an ALSA
// configuration of the test's own makes the devices recorders over the null
// device, so that the bytes that reached ALSA can be compared.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdlib>

#include "monitor/alerting/alarm_sound_player.h"
#include "platform/alsa/alsa_sound_output.h"
#include "platform/qt/qt_descriptor_watcher.h"
#include "platform/qt/qt_timer_driver.h"
#include "support/temp_dir.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

// The standard device, and a listed device whose name is longer than a
// device name may be shown; both append what they are given to a file.
const std::string kLongName = "orvis_recorder_named_beyond_thirty_one_characters";
const std::string kHelper = "orvis_helper";
std::string recorder(const std::string& pcm, const std::string& file, const char* hint) {
  return "pcm." + pcm + " { type file slave.pcm { type null } format raw file \"|cat >>" + file +
         "\" " + hint + " }\n";
}

class AlarmSoundOnAlsa : public ::testing::Test {
 protected:
  void SetUp() override {
    writeText(dir / "asound.conf",
              recorder("!default", dir / "standard.raw", "") +
                  recorder(kLongName, dir / "named.raw", "hint { show on description test }") +
                  "pcm." + kHelper + " { type hw card 31 hint { show on description helper } }\n");
    ::setenv("ALSA_CONFIG_PATH", (dir / "asound.conf").c_str(), 1);
    player.repeatTimer().attach(&timers);
    ASSERT_EQ(player.initialise(), 0);
  }
  // Runs the event loop until the player rests; false after the bound.
  bool playToTheEnd() {
    QElapsedTimer clock;
    clock.start();
    QTimer tick;  // wakes the loop to look again
    tick.start(10);
    while (player.playing() || player.repeatTimer().enabled()) {
      if (clock.elapsed() > 20000) return false;
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
  }

  int argc = 1;
  char name[5] = "test";
  char* argv[2] = {name, nullptr};
  QCoreApplication app{argc, argv};
  TempDir dir;
  platform::QtTimerDriver timers;
  platform::QtDescriptorWatcher watcher;
  platform::AlsaSoundOutput output{watcher, &timers};
  std::string deviceSetting;
  const std::string buzzer = std::string(ORVIS_STAGE_DIR) + "/buzzer.wav";
  AlarmSoundPlayer player{output, deviceSetting, buzzer};
};

TEST_F(AlarmSoundOnAlsa, TheDevicesGetTheSamplesOfTheBuzzerTheSetNumberOfTimes) {
  // The installed sound: one second of 8 kHz mono 16-bit PCM.
  const std::string wav = readText(buzzer);
  ASSERT_EQ(wav.size(), 44u + 16000u);
  EXPECT_EQ(wav.substr(20, 16), std::string("\1\0\1\0\x40\x1f\0\0\x80\x3e\0\0\2\0\x10\0", 16));
  EXPECT_EQ(wav.substr(36, 4), "data");
  const std::string sound = wav.substr(44);

  std::vector<std::string> names;
  ASSERT_EQ(player.outputDeviceNames(names), 0);
  const std::string shown = kLongName.substr(0, 31);
  EXPECT_NE(std::find(names.begin(), names.end(), shown), names.end());
  EXPECT_EQ(std::find(names.begin(), names.end(), kHelper), names.end());

  deviceSetting = shown;
  player.soundAlarm("2");
  ASSERT_TRUE(player.playing());
  ASSERT_TRUE(playToTheEnd());
  EXPECT_TRUE(readText(dir / "named.raw") == sound + sound);

  deviceSetting = kHelper;
  player.soundAlarm("1");
  ASSERT_TRUE(playToTheEnd());
  EXPECT_TRUE(readText(dir / "standard.raw") == sound);
}

TEST_F(AlarmSoundOnAlsa, WithoutAnyDeviceTheAlarmIsSilentAndNothingFails) {
  writeText(dir / "asound.conf", "# no devices at all\n");
  std::vector<std::string> names{"kept"};
  EXPECT_EQ(player.outputDeviceNames(names), -1);
  EXPECT_EQ(names, std::vector<std::string>{"kept"});
  EXPECT_EQ(player.start(), AlarmSoundPlayer::kDeviceFailed);
  player.soundAlarm("-1");
  EXPECT_FALSE(player.playing());
  EXPECT_FALSE(player.repeatTimer().enabled());
}

}  // namespace
