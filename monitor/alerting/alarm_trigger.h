#pragma once
// The alarm of an automatic check pass: the red panel and the sound.

#include <string>

#include "alarm_sound_player.h"
#include "alarm_view.h"
#include "pass_alarm.h"

namespace orvis {

class AlarmTrigger : public PassAlarm {
 public:
  static constexpr int kPanelLeft = 368;
  static constexpr int kPanelTop = 272;

  // `playCount` is the in-memory play count setting, read as each alarm
  // starts.
  AlarmTrigger(AlarmSoundPlayer& player, AlarmView& view, const std::string& playCount)
      : player_(player), view_(view), playCount_(playCount) {}

  void passStarting() override;
  void passEnded(bool anyJobChanged) override;

 private:
  // Ends the alarm of an earlier pass; a sound the user started for a test
  // plays on unless the alarm panel is up.
  void endAlarm();

  AlarmSoundPlayer& player_;
  AlarmView& view_;
  const std::string& playCount_;
};

}  // namespace orvis
