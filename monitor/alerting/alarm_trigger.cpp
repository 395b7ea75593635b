#include "alarm_trigger.h"

namespace orvis {

void AlarmTrigger::passStarting() { endAlarm(); }

void AlarmTrigger::passEnded(bool anyJobChanged) {
  if (!anyJobChanged) {
    endAlarm();
    return;
  }
  // From the beginning again, however long the alarm of the last pass has
  // been sounding. A count of 0 shows the panel alone.
  player_.soundAlarm(playCount_);
  view_.showAlarmPanelAt(kPanelLeft, kPanelTop);
}

void AlarmTrigger::endAlarm() {
  if (view_.alarmPanelVisible()) player_.stop();
  view_.hideAlarmPanel();
}

}  // namespace orvis
