#pragma once
// TForm1: the main window. It owns the widgets, shows what the logic says
// and forwards every event to it.

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QToolButton>
#include <functional>
#include <memory>

#include "alarm_panels.h"
#include "busy_panel.h"
#include "job_editor_panel.h"
#include "job_grid_widget.h"
#include "monitor/app/monitor.h"
#include "monitor/shell/shell_view.h"
#include "platform/qt/qt_timer_driver.h"
#include "qt_prompter.h"
#include "tray_view.h"

namespace orvis::ui {

struct MonitorWindowConfig {
  std::string dataFolder;
  StartInfo start;
  platform::Clock& clock;
  platform::Pump& pump;
  QtPrompter& prompter;
  platform::ProcessLauncher& launcher;
  const platform::ProcessLister& processes;
  const platform::DiskSpaceReader& disks;
  // Off in tests that drive the timers by hand.
  bool liveTimers = true;
};

class TForm1 : public QMainWindow, public ShellView {
  Q_OBJECT
 public:
  explicit TForm1(const MonitorWindowConfig& config);
  ~TForm1() override;

  Monitor& monitor() { return *monitor_; }

  // A logoff, shutdown or termination request: marks it and closes.
  void shutdownRequested();
  // What happens once the stop sequence has run (default: quit the
  // application's event loop).
  void setOnStopped(std::function<void()> f) { onStopped_ = std::move(f); }
  bool stopped() const { return stopped_; }

  // The application's general error handling around a user's action: an
  // error the logic does not handle ends the action with its own text in a
  // message box, and the window stays usable.
  void runGuarded(const std::function<void()>& action);

  // ShellView
  void setCaption(const std::string& text) override;
  std::string caption() const override;
  void moveToTopLeft() override;
  void hideWindow() override { hide(); }
  void showWindow() override { show(); }
  void closeWindow() override { close(); }
  void setStatusText(int panel, const std::string& text) override;
  std::string statusText(int panel) const override;
  void setModeLabel(bool automatic) override;
  void setAutoCheckButtons(bool startEnabled, bool stopEnabled) override;
  void SetEditControlsEnabled(bool enabled) override;
  void setCheckPeriod(const std::string& minutes) override;
  void setDiskGauge(int64_t maximum, int64_t progress) override;
  void StartPanel() override;
  void EndPanel() override;
  bool busyPanelVisible() const override;
  void setBusyMessage(const std::string& text) override;
  void setProgressText(const std::string& text) override;

  // Widgets, named after their components.
  QLabel* Label10;
  QLineEdit* Edit3;
  QProgressBar* Gauge1;
  QToolButton *SpeedButton10, *SpeedButton14, *SpeedButton13, *SpeedButton12;
  QToolButton *SpeedButton18, *SpeedButton15, *SpeedButton16, *SpeedButton20, *SpeedButton21,
      *SpeedButton50, *SpeedButton6;
  QToolButton *SpeedButton1, *SpeedButton3, *SpeedButton4, *SpeedButton5, *SpeedButton7;
  JobGridWidget* sg1;
  JobEditorPanel* editor;
  BusyPanel* Panel1;
  AlarmPanel* pnlDeviceError;
  SoundCheckPanel* PnlCheckBuzzer;
  QLabel* StatusPanels[3];

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildWidgets();
  QWidget* buildTopArea(QWidget* parent);
  void buildStatusBar();
  void wireEvents();
  void wireEditorEvents();
  void onClick(QAbstractButton* button, std::function<void()> action);
  void runStopSequence();

  platform::QtTimerDriver timerDriver_;
  NullTrayView tray_;
  std::unique_ptr<Monitor> monitor_;
  std::function<void()> onStopped_;
  bool stopped_ = false;
};

}  // namespace orvis::ui
