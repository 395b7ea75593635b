#pragma once
// The desktop's notification-area icon. Until the icon itself is drawn on
// the desktop, the operations succeed without showing anything.

#include "monitor/shell/tray_view.h"

namespace orvis::ui {

class NullTrayView : public TrayView {
 public:
  bool addIcon(int, const std::string&) override { return true; }
  bool modifyIcon(int, const std::string&) override { return true; }
  void removeIcon() override {}
};

}  // namespace orvis::ui
