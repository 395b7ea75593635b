#pragma once
// The notification-area icon on the desktop, a QSystemTrayIcon made at the
// first add (so a service start never makes one). Clicks on it reach the
// logic as the mouse messages that a Windows tray icon reports.

#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <vector>

#include "monitor/shell/tray_view.h"

namespace orvis::ui {

class QtTrayView : public TrayView {
 public:
  QtTrayView();
  ~QtTrayView() override;

  void setOnMouseMessage(std::function<void(int)> f) { onMouseMessage_ = std::move(f); }

  bool available() const override;
  TrayOutcome addIcon(int picture, const std::string& tip) override;
  TrayOutcome modifyIcon(int picture, const std::string& tip) override;
  void removeIcon() override;

  // The messages of one activation: a click is its button-up; a double
  // click the double-click message and the second button-up.
  static std::vector<int> mouseMessagesFor(QSystemTrayIcon::ActivationReason reason);
  // As if the desktop reported an activation (tests).
  void activate(QSystemTrayIcon::ActivationReason reason);

  // The icon, null before the first add and after the removal.
  const QSystemTrayIcon* icon() const { return icon_.get(); }

 private:
  void show(int picture, const std::string& tip);

  std::unique_ptr<QSystemTrayIcon> icon_;
  std::function<void(int)> onMouseMessage_;
};

}  // namespace orvis::ui
