#include "display_choice.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

#include "platform/codec.h"

namespace orvis::platform {
namespace {

std::string env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A full X connection, authorisation included, as the toolkit will make it.
bool xReachable(const std::string& display) {
  if (display.empty()) return false;
  xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
  bool ok = c && xcb_connection_has_error(c) == 0;
  if (c) xcb_disconnect(c);
  return ok;
}

// A compositor listens on a socket in the runtime folder (or at the path
// WAYLAND_DISPLAY gives).
bool waylandReachable(const std::string& display) {
  if (display.empty()) return false;
  std::string path = display;
  if (path.front() != '/') {
    std::string runtime = env("XDG_RUNTIME_DIR");
    if (runtime.empty()) return false;
    path = runtime + "/" + display;
  }
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.data(), path.size());
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

DisplayChoice chooseDisplay() {
  const std::string x = env("DISPLAY"), wayland = env("WAYLAND_DISPLAY");
  // The platforms the toolkit would try, as QT_QPA_PLATFORM lists them
  // ("xcb", "wayland;xcb", "wayland-egl", ...); by default X11 or Wayland.
  std::string platforms = env("QT_QPA_PLATFORM");
  // By default the one of the session first, as the toolkit would.
  if (platforms.empty())
    platforms = env("XDG_SESSION_TYPE") == "wayland" ? "wayland;xcb" : "xcb;wayland";
  bool tryX = false, tryWayland = false;
  size_t start = 0;
  while (start <= platforms.size()) {
    size_t end = platforms.find(';', start);
    if (end == std::string::npos) end = platforms.size();
    std::string name = platforms.substr(start, end - start);
    name = name.substr(0, name.find(':'));  // "xcb:arguments"
    if (name == "xcb") {
      tryX = true;
    } else if (name.rfind("wayland", 0) == 0) {
      tryWayland = true;
    } else if (!name.empty()) {
      return {};  // offscreen, vnc, eglfs, ...: chosen on purpose
    }
    start = end + 1;
  }
  DisplayChoice choice;
  if (tryX && !x.empty()) choice.named = "DISPLAY=" + x;
  if (tryWayland && !wayland.empty()) {
    if (!choice.named.empty()) choice.named += ",";
    choice.named += "WAYLAND_DISPLAY=" + wayland;
  }
  if ((tryX && xReachable(x)) || (tryWayland && waylandReachable(wayland))) {
    choice.platforms = platforms + ";offscreen";
    return choice;
  }
  choice.offscreen = true;
  choice.unreachable = choice.named;
  choice.platforms = "offscreen";
  return choice;
}

void settleDisplayChoice(DisplayChoice& choice, const std::string& toolkitPlatform) {
  if (choice.offscreen || toolkitPlatform != "offscreen") return;
  choice.offscreen = true;
  choice.unreachable = choice.named;
}

std::string unreachableDisplayLine(const DisplayChoice& choice) {
  if (choice.unreachable.empty()) return {};
  return toCp932("画面に接続できません(" + choice.unreachable + ")。画面なしで実行します。");
}

}  // namespace orvis::platform
