#pragma once
// Where a program's windows can go, found out before the QApplication is
// made: the toolkit aborts on a display it cannot reach, and under cron or a
// service a stale session environment often names one. A program that can
// do its work without a window then runs on Qt's offscreen platform.

#include <string>

namespace orvis::platform {

struct DisplayChoice {
  // Qt's offscreen platform: the windows exist but are shown nowhere.
  bool offscreen = false;
  // The display that was named but could not be reached, as named
  // ("DISPLAY=:9"; UTF-8); empty when there is none or it answered.
  std::string unreachable;
  // The platforms the toolkit is to try, in order ("xcb;wayland;offscreen"),
  // or empty to leave the choice to the environment. A display that answers
  // the check may still refuse the toolkit a moment later (a server that
  // ends, one at its client limit); offscreen comes last so that the
  // program then runs on instead of aborting.
  std::string platforms;
  // The displays named, as named, for the log line of such a fallback.
  std::string named;
};

// Reads QT_QPA_PLATFORM, DISPLAY, WAYLAND_DISPLAY and XDG_RUNTIME_DIR and
// tries the displays they name. A platform chosen in QT_QPA_PLATFORM other
// than X11 or Wayland is left as it is.
DisplayChoice chooseDisplay();

// Once the QApplication is made: when the toolkit fell back to offscreen
// although a display answered the check, the choice says so.
void settleDisplayChoice(DisplayChoice& choice, const std::string& toolkitPlatform);

// The log line for a display that was named but not reached (CP932), or
// the empty text.
std::string unreachableDisplayLine(const DisplayChoice& choice);

}  // namespace orvis::platform
