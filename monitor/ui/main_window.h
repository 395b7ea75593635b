#pragma once
// The main window. It owns the widgets, shows what the logic says
// and forwards every event to it.

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QProgressBar>
#include <QToolButton>
#include <functional>
#include <memory>
#include <vector>

#include "alarm_panel.h"
#include "busy_panel.h"
#include "history_window.h"
#include "job_editor_panel.h"
#include "job_grid_widget.h"
#include "monitor/alerting/alarm_view.h"
#include "monitor/app/monitor.h"
#include "monitor/shell/shell_view.h"
#include "platform/qt/qt_timer_driver.h"
#include "qt_tray_view.h"
#include "settings_dialog.h"
#include "sound_check_panel.h"

namespace orvis::ui {

class MainWindow : public QMainWindow, public ShellView, public AlarmView {
  Q_OBJECT
 public:
  static constexpr const char* kApplicationTitle = "ORVIS Monitor";

  // Tests drive the timers by hand.
  enum class Timers { Live, Manual };
  explicit MainWindow(const MonitorHost& host, Timers timers = Timers::Live);
  ~MainWindow() override;

  Monitor& monitor() { return *monitor_; }

  // A termination request (a signal): marks the shutdown and ends the
  // program in order, once the running action, if any, has given up.
  void shutdownRequested();
  // What happens once the stop sequence has run (default: quit the
  // application's event loop).
  void setOnStopped(std::function<void()> f) { onStopped_ = std::move(f); }
  bool stopped() const { return stopped_; }

  // The application's general error handling around a user's action: an
  // error the logic does not handle ends the action with its own text in a
  // message box, and the window stays usable. `asker`: the window the
  // action was asked from (this one when none is given).
  void runGuarded(const std::function<void()>& action, QWidget* asker = nullptr);
  // The window whose boxes are asked now: that of the innermost action
  // still on screen, else this one. Boxes stand over it.
  QWidget* boxOwner();

  // ShellView
  void setCaption(const std::string& text) override;
  std::string caption() const override;
  void moveToTopLeft() override;
  void hideWindow() override { hide(); }
  void showWindow() override;
  void minimizeWindow() override { showMinimized(); }
  void closeWindow() override { close(); }
  void setStatusText(int panel, const std::string& text) override;
  std::string statusText(int panel) const override;
  void setModeLabel(bool automatic) override;
  void setAutoCheckButtons(bool startEnabled, bool stopEnabled) override;
  void setEditControlsEnabled(bool enabled) override;
  void setCheckPeriod(const std::string& minutes) override;
  void setDiskGauge(int64_t maximum, int64_t progress) override;
  void showBusyPanel() override;
  void hideBusyPanel() override;
  bool busyPanelVisible() const override;
  void setBusyMessage(const std::string& text) override;
  void setProgressText(const std::string& text) override;
  void showCompareGauge(int64_t maximum) override;
  void setCompareProgress(int64_t progress) override;
  void hideCompareGauge() override;

  // AlarmView
  bool alarmPanelVisible() const override;
  void showAlarmPanelAt(int left, int top) override;
  void hideAlarmPanel() override;
  void showSoundCheckPanelAt(int left, int top) override;
  void hideSoundCheckPanel() override;
  void chooseFirstSound() override;
  bool soundChosen() const override;

  // The job editor's fields, as tests and the settings dialog reach them.
  JobEditorPanel& jobEditor() { return *jobEditor_; }
  // The notification-area icon, as tests reach it.
  QtTrayView& trayIcon() { return tray_; }
  // "設定" shows it.
  SettingsDialog& settingsDialog() { return *settingsDialog_; }
  // "履歴" shows it; null until then.
  HistoryWindow* historyWindow() { return historyWindow_.get(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void buildWidgets();
  QWidget* buildTopArea(QWidget* parent);
  void buildStatusBar();
  // The events of each subsystem's widgets, to its logic.
  void wireEvents();
  void wireShellEvents();
  void wireCatalogueEvents();
  void wireEngineEvents();
  void wireAlertingEvents();
  void wireHistoryEvents();
  // The history window of the job last clicked in the grid.
  void showHistory();
  void onClick(QAbstractButton* button, std::function<void()> action);
  void runStopSequence();
  // Every window of ours goes when the program ends.
  void closeOwnWindows();
  // Ends the event loop without the close question or the stop sequence.
  void endAtOnce();
  // What the busy panel locks while it shows.
  std::vector<QWidget*> busyLockedWidgets() const;

  // Check period area.
  QLabel* modeLabel_;                  // Label10
  QLineEdit* checkPeriodField_;        // Edit3
  QToolButton* autoCheckStartButton_;  // SpeedButton10
  QToolButton* autoCheckStopButton_;   // SpeedButton14
  QToolButton* manualCheckButton_;     // SpeedButton13
  QToolButton* captureButton_;         // SpeedButton12
  // Operation settings area.
  QToolButton* backgroundButton_;        // SpeedButton18
  QToolButton* reactivationTestButton_;  // SpeedButton15
  QToolButton* mailTestButton_;          // SpeedButton16
  QToolButton* alarmCheckButton_;        // SpeedButton20
  QToolButton* alarmStopButton_;         // SpeedButton21
  QToolButton* settingsButton_;          // SpeedButton50
  QToolButton* closeButton_;             // SpeedButton6
  QProgressBar* diskGauge_;              // Gauge1
  // Never shown; only the busy panel locks and unlocks them.
  QToolButton* captureAllButton_;         // SpeedButton5
  QToolButton* hiddenManualCheckButton_;  // SpeedButton7
  QToolButton* placeholderButtons_[3];    // SpeedButton1, SpeedButton3, SpeedButton4
  JobGridWidget* jobGrid_;                // sg1
  JobEditorPanel* jobEditor_;
  BusyPanel* busyPanel_;              // Panel1
  AlarmPanel* alarmPanel_;            // pnlDeviceError
  SoundCheckPanel* soundCheckPanel_;  // PnlCheckBuzzer
  QLabel* statusPanels_[3];

  platform::QtTimerDriver timerDriver_;
  int64_t compareGaugeScale_ = 1;
  QtTrayView tray_;
  std::unique_ptr<Monitor> monitor_;
  // A window of its own, over the monitor: it goes before the monitor does.
  std::unique_ptr<SettingsDialog> settingsDialog_;
  std::unique_ptr<HistoryWindow> historyWindow_;
  std::function<void()> onStopped_;
  bool stopped_ = false;
  // The windows the running actions were asked from, innermost last.
  std::vector<QPointer<QWidget>> askers_;
};

}  // namespace orvis::ui
