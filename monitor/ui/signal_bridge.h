#pragma once
// Termination requests (SIGTERM, SIGHUP, SIGINT) delivered on the window
// thread, where the monitor handles them like a session's end.

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace orvis::ui {

class SignalBridge : public QObject {
  Q_OBJECT
 public:
  explicit SignalBridge(std::function<void(int)> onSignal);
  ~SignalBridge() override;

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
  std::function<void(int)> onSignal_;
};

}  // namespace orvis::ui
