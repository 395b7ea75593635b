#pragma once

#include <string>

namespace orvis {

// The icon as the desktop shows it.
class TrayView {
 public:
  virtual ~TrayView() = default;
  // Pictures: 0 normal, 1 checking. False when the desktop refused.
  virtual bool addIcon(int picture, const std::string& tip) = 0;
  virtual bool modifyIcon(int picture, const std::string& tip) = 0;
  virtual void removeIcon() = 0;
};

}  // namespace orvis
