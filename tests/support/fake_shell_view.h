#pragma once
// The main window as the shell logic sees it, as a plain record, for logic
// tests.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "monitor/shell/shell_view.h"

namespace orvis::testing {

class FakeShellView : public ShellView {
 public:
  void setCaption(const std::string& text) override { caption_ = text; }
  std::string caption() const override { return caption_; }
  void moveToTopLeft() override { movedToTopLeft = true; }
  void hideWindow() override { visible = false; }
  void showWindow() override {
    visible = true;
    minimized = false;
  }
  void minimizeWindow() override { minimized = true; }
  void closeWindow() override { ++closeRequests; }
  void setStatusText(int panel, const std::string& text) override { status[panel] = text; }
  std::string statusText(int panel) const override {
    auto it = status.find(panel);
    return it == status.end() ? std::string() : it->second;
  }
  void setModeLabel(bool automatic) override { modeLabelAutomatic = automatic; }
  void setAutoCheckButtons(bool start, bool stop) override {
    startEnabled = start;
    stopEnabled = stop;
  }
  void setEditControlsEnabled(bool enabled) override {
    editControlsEnabled = enabled;
    editControlsHistory.push_back(enabled);
  }
  void setCheckPeriod(const std::string& minutes) override { checkPeriod = minutes; }
  void setDiskGauge(int64_t maximum, int64_t progress) override {
    gaugeMax = maximum;
    gaugeProgress = progress;
  }
  void showBusyPanel() override {
    busy = true;
    ++startPanels;
  }
  void hideBusyPanel() override {
    busy = false;
    ++endPanels;
  }
  bool busyPanelVisible() const override { return busy; }
  void setBusyMessage(const std::string& text) override { busyMessage = text; }
  void setProgressText(const std::string& text) override { progress = text; }
  void showCompareGauge(int64_t maximum) override {
    compareGauge = true;
    compareMax = maximum;
    compareProgress = 0;
    ++compareGaugeShows;
  }
  void setCompareProgress(int64_t value) override { compareProgress = value; }
  void hideCompareGauge() override { compareGauge = false; }

  std::string caption_;
  bool movedToTopLeft = false;
  bool visible = true;
  bool minimized = false;
  int closeRequests = 0;
  std::map<int, std::string> status;
  bool modeLabelAutomatic = false;
  bool startEnabled = true, stopEnabled = false;
  bool editControlsEnabled = true;
  std::vector<bool> editControlsHistory;
  std::string checkPeriod;
  int64_t gaugeMax = -1, gaugeProgress = -1;
  bool busy = false;
  int startPanels = 0, endPanels = 0;
  std::string busyMessage, progress;
  bool compareGauge = false;
  int64_t compareMax = -1, compareProgress = -1;
  int compareGaugeShows = 0;
};

}  // namespace orvis::testing
