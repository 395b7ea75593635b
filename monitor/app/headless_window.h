#pragma once
// The main window's faces for a monitor that runs without one (the
// command-line verbs): the grid keeps its cells and a selection that the
// caller sets, the rest keeps what the logic needs to read back and shows
// nothing.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "monitor/alerting/alarm_view.h"
#include "monitor/catalogue/job_editor_view.h"
#include "monitor/catalogue/job_grid_view.h"
#include "monitor/shell/shell_view.h"
#include "monitor/shell/tray_view.h"
#include "monitor_views.h"

namespace orvis {

class HeadlessWindow : public ShellView,
                       public JobGridView,
                       public JobEditorView,
                       public TrayView,
                       public AlarmView {
 public:
  MonitorViews views() { return MonitorViews{*this, *this, *this, *this, *this}; }

  // The block of grid rows the next action applies to.
  void selectRows(int top, int bottom) {
    selectionTop_ = top;
    selectionBottom_ = bottom;
  }

  // ShellView
  void setCaption(const std::string& text) override { caption_ = text; }
  std::string caption() const override { return caption_; }
  void moveToTopLeft() override {}
  void hideWindow() override {}
  void showWindow() override {}
  void minimizeWindow() override {}
  void closeWindow() override {}
  void setStatusText(int panel, const std::string& text) override { status_[panel] = text; }
  std::string statusText(int panel) const override;
  void setModeLabel(bool) override {}
  void setAutoCheckButtons(bool, bool) override {}
  void setEditControlsEnabled(bool) override {}
  void setCheckPeriod(const std::string&) override {}
  void setDiskGauge(int64_t, int64_t) override {}
  void showBusyPanel() override { busy_ = true; }
  void hideBusyPanel() override { busy_ = false; }
  bool busyPanelVisible() const override { return busy_; }
  void setBusyMessage(const std::string&) override {}
  void setProgressText(const std::string&) override {}
  void showCompareGauge(int64_t) override {}
  void setCompareProgress(int64_t) override {}
  void hideCompareGauge() override {}

  // JobGridView
  void setRows(int rows) override;
  int rows() const override { return static_cast<int>(cells_.size()); }
  void setCell(int row, int column, const std::string& text) override;
  std::string cell(int row, int column) const override;
  void redraw() override {}
  int selectionTop() const override { return selectionTop_; }
  int selectionBottom() const override { return selectionBottom_; }

  // JobEditorView: an editor nobody types into.
  std::string text(EditorControl) const override { return {}; }
  void setText(EditorControl, const std::string&) override {}
  std::vector<std::string> bodyLines() const override { return {}; }
  void setBodyLines(const std::vector<std::string>&) override {}
  bool checked(EditorControl) const override { return false; }
  void setChecked(EditorControl, bool) override {}
  bool enabled(EditorControl) const override { return false; }
  void setEnabled(EditorControl, bool) override {}
  void focus(EditorControl) override {}
  JobType type() const override { return JobType::Url; }
  void setType(JobType) override {}
  void setTypeTexts(const std::string&, const std::string&, const std::string&) override {}
  void setMailGroupItems(int) override {}
  void addMailGroupItem(const std::string&) override {}
  void removeLastMailGroupItem() override {}
  int mailGroupIndex() const override { return -1; }
  void setMailGroupIndex(int) override {}
  std::string mailGroupName() const override { return {}; }
  void setMailGroupName(const std::string&) override {}

  // TrayView: no desktop to show an icon on.
  bool available() const override { return false; }
  TrayOutcome addIcon(int, const std::string&) override { return TrayOutcome::failed(); }
  TrayOutcome modifyIcon(int, const std::string&) override { return TrayOutcome::failed(); }
  void removeIcon() override {}

  // AlarmView
  bool alarmPanelVisible() const override { return alarmPanel_; }
  void showAlarmPanelAt(int, int) override { alarmPanel_ = true; }
  void hideAlarmPanel() override { alarmPanel_ = false; }
  void showSoundCheckPanelAt(int, int) override {}
  void hideSoundCheckPanel() override {}
  void chooseFirstSound() override {}
  bool soundChosen() const override { return false; }

 private:
  std::string caption_;
  std::map<int, std::string> status_;
  bool busy_ = false;
  bool alarmPanel_ = false;
  std::vector<std::vector<std::string>> cells_;
  int selectionTop_ = 0;
  int selectionBottom_ = 0;
};

}  // namespace orvis
