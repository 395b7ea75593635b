#pragma once
// The notification-area icon as a list of what was done to it, for logic
// tests.

#include <string>
#include <vector>

#include "monitor/shell/tray_view.h"

namespace orvis::testing {

class FakeTrayView : public TrayView {
 public:
  bool available() const override { return desktopHasTray; }
  TrayOutcome addIcon(int picture, const std::string& tip) override {
    events.push_back("add " + std::to_string(picture) + " " + tip);
    present = desktopHasTray && !addFails;
    if (!present) return TrayOutcome::failed(addError);
    return {};
  }
  TrayOutcome modifyIcon(int picture, const std::string& tip) override {
    events.push_back("modify " + std::to_string(picture) + " " + tip);
    if (!present) return TrayOutcome::failed();
    return {};
  }
  void removeIcon() override {
    events.push_back("remove");
    present = false;
  }
  std::vector<std::string> events;
  bool present = false;
  bool desktopHasTray = true;
  // Adds fail (so do all without a tray), with this reason (CP932; empty
  // when the desktop gives none).
  bool addFails = false;
  std::string addError;
};

}  // namespace orvis::testing
