#pragma once
// The main window's alarm panel and sound check panel as a plain record,
// for logic tests.

#include "monitor/alerting/alarm_view.h"

namespace orvis::testing {

class FakeAlarmView : public AlarmView {
 public:
  struct Panel {
    bool shown = false;
    int left = 0, top = 0;
  };

  bool alarmPanelVisible() const override { return alarmPanel.shown; }
  void showAlarmPanelAt(int left, int top) override { alarmPanel = {true, left, top}; }
  void hideAlarmPanel() override { alarmPanel.shown = false; }
  void showSoundCheckPanelAt(int left, int top) override { soundCheckPanel = {true, left, top}; }
  void hideSoundCheckPanel() override { soundCheckPanel.shown = false; }
  void chooseFirstSound() override { soundIndex = 0; }
  bool soundChosen() const override { return soundIndex == 0; }

  Panel alarmPanel, soundCheckPanel;
  int soundIndex = 0;
};

}  // namespace orvis::testing
