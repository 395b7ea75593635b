#pragma once
// What the shell logic needs of the main window. The Qt window implements
// it; tests fake it. Texts are CP932.

#include <cstdint>
#include <string>

namespace orvis {

class ShellView {
 public:
  virtual ~ShellView() = default;

  // The window itself.
  virtual void setCaption(const std::string& text) = 0;
  virtual std::string caption() const = 0;
  virtual void moveToTopLeft() = 0;
  virtual void hideWindow() = 0;
  // Shows the window again, restored, raised and active.
  virtual void showWindow() = 0;
  virtual void minimizeWindow() = 0;
  // Asks the window to close; the close question and the stop sequence
  // follow as for a user's close.
  virtual void closeWindow() = 0;

  // Status bar panels 0 (messages) and 1 (version).
  virtual void setStatusText(int panel, const std::string& text) = 0;
  virtual std::string statusText(int panel) const = 0;

  // The mode label: "自動チェックモード" in red or "編集・手動モード" in blue.
  virtual void setModeLabel(bool automatic) = 0;
  // "自動チェック開始" / "自動チェック停止".
  virtual void setAutoCheckButtons(bool startEnabled, bool stopEnabled) = 0;
  // Locks or unlocks the editing controls together.
  virtual void setEditControlsEnabled(bool enabled) = 0;
  // The read-only check period field.
  virtual void setCheckPeriod(const std::string& minutes) = 0;
  // The disk gauge: minimum 0, the given maximum and progress (megabytes).
  virtual void setDiskGauge(int64_t maximum, int64_t progress) = 0;

  // The busy panel: showing it locks the job buttons and the grid, hiding
  // it unlocks them. Its message stays.
  virtual void showBusyPanel() = 0;
  virtual void hideBusyPanel() = 0;
  virtual bool busyPanelVisible() const = 0;
  virtual void setBusyMessage(const std::string& text) = 0;
  virtual void setProgressText(const std::string& text) = 0;
  // The busy panel's comparison gauge: shown from 0 to `maximum`, moved to
  // `progress`, hidden again.
  virtual void showCompareGauge(int64_t maximum) = 0;
  virtual void setCompareProgress(int64_t progress) = 0;
  virtual void hideCompareGauge() = 0;
};

}  // namespace orvis
