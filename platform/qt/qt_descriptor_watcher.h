#pragma once
// Watches descriptors with socket notifiers on the window thread's event
// loop.

#include <QSocketNotifier>
#include <memory>
#include <vector>

#include "platform/descriptor_watcher.h"

namespace orvis::platform {

class QtDescriptorWatcher : public DescriptorWatcher {
 public:
  ~QtDescriptorWatcher() override;
  void setHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
  void watch(std::span<const pollfd> fds) override;
  void setEnabled(bool on) override;
  void clear() override;

 private:
  void add(int fd, QSocketNotifier::Type type);

  std::function<void()> handler_;
  std::vector<QSocketNotifier*> notifiers_;
  bool enabled_ = false;
};

}  // namespace orvis::platform
