#pragma once
// The main window's faces as plain records, for logic tests.

#include <map>
#include <string>
#include <vector>

#include "monitor/catalogue/job_grid_view.h"
#include "monitor/shell/shell_view.h"
#include "monitor/shell/tray_icons.h"

namespace orvis::testing {

class FakeShellView : public ShellView {
 public:
  void setCaption(const std::string& text) override { caption_ = text; }
  std::string caption() const override { return caption_; }
  void moveToTopLeft() override { movedToTopLeft = true; }
  void hideWindow() override { visible = false; }
  void showWindow() override { visible = true; }
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

  std::string caption_;
  bool movedToTopLeft = false;
  bool visible = true;
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
};

class FakeGridView : public JobGridView {
 public:
  void setRows(int rows) override {
    rows_ = rows;
    cells_.resize(static_cast<size_t>(rows), std::vector<std::string>(12));
  }
  int rows() const override { return rows_; }
  void setCell(int row, int column, const std::string& text) override {
    cells_.at(static_cast<size_t>(row)).at(static_cast<size_t>(column)) = text;
  }
  std::string cell(int row, int column) const override {
    return cells_.at(static_cast<size_t>(row)).at(static_cast<size_t>(column));
  }
  void redraw() override { ++repaints; }
  int selectionTop() const override { return top; }
  int selectionBottom() const override { return bottom; }

  int top = 0, bottom = 0, repaints = 0;

 private:
  int rows_ = 0;
  std::vector<std::vector<std::string>> cells_;
};

class FakeTrayView : public TrayView {
 public:
  bool addIcon(int picture, const std::string& tip) override {
    events.push_back("add " + std::to_string(picture) + " " + tip);
    present = addSucceeds;
    return addSucceeds;
  }
  bool modifyIcon(int picture, const std::string& tip) override {
    events.push_back("modify " + std::to_string(picture) + " " + tip);
    return present;
  }
  void removeIcon() override {
    events.push_back("remove");
    present = false;
  }
  std::vector<std::string> events;
  bool present = false;
  bool addSucceeds = true;
};

}  // namespace orvis::testing
