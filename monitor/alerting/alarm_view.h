#pragma once
// What the alarm logic needs of the main window: the red alarm panel and
// the sound check panel. The Qt window implements it; tests fake it.
//
// A panel's visibility is its own flag: a panel shown while the window is
// in the background still counts as shown.

namespace orvis {

class AlarmView {
 public:
  virtual ~AlarmView() = default;

  // The red alarm panel, placed on the main window.
  virtual bool alarmPanelVisible() const = 0;
  virtual void showAlarmPanelAt(int left, int top) = 0;
  virtual void hideAlarmPanel() = 0;

  // The sound check panel, placed on the main window.
  virtual void showSoundCheckPanelAt(int left, int top) = 0;
  virtual void hideSoundCheckPanel() = 0;
  // Its list of sounds holds the one alarm sound.
  virtual void chooseFirstSound() = 0;
  virtual bool soundChosen() const = 0;
};

}  // namespace orvis
