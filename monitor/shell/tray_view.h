#pragma once

#include <string>

namespace orvis {

// What the desktop made of a request for the icon.
struct TrayOutcome {
  bool done = true;
  // Why not (CP932); empty when the desktop gave no reason.
  std::string error;

  static TrayOutcome failed(std::string why = {}) { return {false, std::move(why)}; }
};

// The icon as the desktop shows it.
class TrayView {
 public:
  virtual ~TrayView() = default;
  // Whether the desktop has a notification area now.
  virtual bool available() const = 0;
  // Pictures: 0 normal, 1 checking.
  virtual TrayOutcome addIcon(int picture, const std::string& tip) = 0;
  // Fails when the icon is not there any more (the desktop's panel
  // restarted, say).
  virtual TrayOutcome modifyIcon(int picture, const std::string& tip) = 0;
  virtual void removeIcon() = 0;
};

}  // namespace orvis
