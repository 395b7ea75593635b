#include "qt_descriptor_watcher.h"

namespace orvis::platform {

QtDescriptorWatcher::~QtDescriptorWatcher() {
  for (QSocketNotifier* notifier : notifiers_) delete notifier;
}

void QtDescriptorWatcher::watch(std::span<const pollfd> fds) {
  clear();
  enabled_ = true;
  for (const pollfd& fd : fds) {
    if (fd.events & POLLIN) add(fd.fd, QSocketNotifier::Read);
    if (fd.events & POLLOUT) add(fd.fd, QSocketNotifier::Write);
  }
}

void QtDescriptorWatcher::add(int fd, QSocketNotifier::Type type) {
  auto* notifier = new QSocketNotifier(fd, type);
  QObject::connect(notifier, &QSocketNotifier::activated, [this] {
    if (enabled_ && handler_) handler_();
  });
  notifiers_.push_back(notifier);
}

void QtDescriptorWatcher::setEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  for (QSocketNotifier* notifier : notifiers_) notifier->setEnabled(on);
}

void QtDescriptorWatcher::clear() {
  enabled_ = false;
  // The handler may be running on behalf of one of them: they go once the
  // event loop is back.
  for (QSocketNotifier* notifier : notifiers_) {
    notifier->setEnabled(false);
    notifier->deleteLater();
  }
  notifiers_.clear();
}

}  // namespace orvis::platform
