#pragma once
// The notification-area icon as a list of what was done to it, for logic
// tests.

#include <string>
#include <vector>

#include "monitor/shell/tray_view.h"

namespace orvis::testing {

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
