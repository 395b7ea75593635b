#pragma once

#include <cstdlib>

namespace orvis::ui {

// Without a display the window toolkit runs on its offscreen platform, so
// a service start works on a server.
inline void selectOffscreenWithoutDisplay() {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  if (!set("DISPLAY") && !set("WAYLAND_DISPLAY") && !set("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

}  // namespace orvis::ui
