#pragma once
// The main window's buttons of the alarm sound: the alarm panel's close
// button, "警告音確認" and "警告音停止", and the sound check panel.

#include "alarm_sound_player.h"
#include "alarm_view.h"

namespace orvis {

class AlarmControls {
 public:
  static constexpr int kSoundCheckLeft = 4;
  static constexpr int kSoundCheckTop = 150;

  AlarmControls(AlarmSoundPlayer& player, AlarmView& view) : player_(player), view_(view) {}

  // The alarm panel's "閉じる": the panel goes and the sound with it.
  void closeAlarmPanel();
  // "警告音確認": the sound check panel, with the alarm sound chosen.
  void showSoundCheck();
  // "再生": the chosen sound, endlessly, until a stop.
  void playTestSound();
  // "停止" and "警告音停止".
  void stopSound() { player_.stop(); }
  // The sound check panel's "Close": the panel goes, a test sound plays on.
  void hideSoundCheck() { view_.hideSoundCheckPanel(); }

 private:
  AlarmSoundPlayer& player_;
  AlarmView& view_;
};

}  // namespace orvis
