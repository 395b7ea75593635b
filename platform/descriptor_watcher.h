#pragma once
// Readiness of file descriptors, watched by the host's event loop so that a
// backend learns on the window thread, without ever blocking it, when a
// device can take more data. Implemented by the host (socket notifiers in
// the Qt programs).

#include <poll.h>

#include <functional>
#include <span>

namespace orvis::platform {

class DescriptorWatcher {
 public:
  virtual ~DescriptorWatcher() = default;

  // Called on the window thread whenever a watched descriptor is ready for
  // one of its events (POLLIN, POLLOUT; errors wake it too). Set once.
  virtual void setHandler(std::function<void()> handler) = 0;
  // Watches these descriptors instead of any earlier ones, enabled.
  virtual void watch(std::span<const pollfd> fds) = 0;
  // Pauses or resumes the watch without giving it up.
  virtual void setEnabled(bool on) = 0;
  // Gives the watch up. Safe from inside the handler.
  virtual void clear() = 0;
};

}  // namespace orvis::platform
