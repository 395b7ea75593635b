#include "main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include "monitor/shell/general_errors.h"
#include "pictures.h"
#include "platform/codec.h"

namespace orvis::ui {

MainWindow::MainWindow(const MonitorHost& host, Timers timers)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  setObjectName("Form1");
  setWindowIcon(applicationIcon());
  buildWidgets();
  monitor_ =
      std::make_unique<Monitor>(host, MonitorViews{*this, *jobGrid_, *jobEditor_, tray_, *this});
  if (timers == Timers::Live) {
    auto& t = monitor_->timers();
    for (platform::Timer* timer :
         {&t.startup, &t.check, &t.reactivation, &monitor_->alarmSound().repeatTimer()})
      timer->attach(&timerDriver_);
  }
  jobGrid_->setLook([this](int row, int column, bool selected) {
    return monitor_->jobList().cellLook(row, column, selected);
  });
  settingsDialog_ = std::make_unique<SettingsDialog>(*this);
  wireEvents();
  onStopped_ = [] { QCoreApplication::quit(); };
  connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
    // A session that ends without closing the window still stops in order.
    if (!stopped_) runStopSequence();
  });
  monitor_->startUp();
}

MainWindow::~MainWindow() = default;

void MainWindow::runGuarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    showGeneralError(monitor_->services().boxes, platform::toCp932(e.what()));
  } catch (...) {
    showGeneralError(monitor_->services().boxes, SJIS("不明なエラーが発生しました"));
  }
}

void MainWindow::shutdownRequested() {
  monitor_->sessionEnding();
  close();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  monitor_->windowShown();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (stopped_) {
    event->accept();
    return;
  }
  if (!monitor_->confirmClose()) {
    event->ignore();
    return;
  }
  event->accept();
  runStopSequence();
}

void MainWindow::runStopSequence() {
  stopped_ = true;
  monitor_->shutDown();
  if (onStopped_) onStopped_();
}

}  // namespace orvis::ui
