#include "alarm_controls.h"

namespace orvis {

void AlarmControls::closeAlarmPanel() {
  view_.hideAlarmPanel();
  player_.stop();
}

void AlarmControls::showSoundCheck() {
  view_.chooseFirstSound();
  view_.showSoundCheckPanelAt(kSoundCheckLeft, kSoundCheckTop);
}

void AlarmControls::playTestSound() {
  // The list's one sound is the alarm sound; with none chosen there is
  // nothing to play.
  if (view_.soundChosen()) player_.playTestSound();
}

}  // namespace orvis
