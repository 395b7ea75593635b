#include "main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>

#include "monitor/shell/general_errors.h"
#include "pictures.h"
#include "platform/codec.h"

namespace orvis::ui {

MainWindow::MainWindow(const MonitorHost& host, Timers timers)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  setObjectName("Form1");
  setWindowIcon(applicationIcon());
  // The application title is the name the task bar gives the program: on
  // X11 the main window's icon name. It is not kept as Qt's display name,
  // which Qt appends to the caption of every window (" — ORVIS Monitor"),
  // where a message box's caption must stand alone.
  setWindowIconText(QString::fromUtf8(kApplicationTitle));
  QGuiApplication::setApplicationDisplayName(QString());
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
  monitor_->stopRequest().setStopSequence([this] {
    if (stopped_) return;
    runStopSequence();
    hide();
  });
  monitor_->reactivation().setApplicationEnd([this] { endAtOnce(); });
  qApp->installEventFilter(this);
  connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
    // A session that ends without closing the window still stops in order.
    if (!stopped_) runStopSequence();
  });
  monitor_->startUp();
}

MainWindow::~MainWindow() = default;

void MainWindow::runGuarded(const std::function<void()>& action, QWidget* asker) {
  askers_.emplace_back(asker ? asker : this);
  struct Done {
    std::vector<QPointer<QWidget>>& askers;
    ~Done() { askers.pop_back(); }
  } done{askers_};
  monitor_->stopRequest().runAction([this, &action] {
    try {
      action();
    } catch (const std::exception& e) {
      showGeneralError(monitor_->services().boxes, platform::toCp932(e.what()));
    } catch (...) {
      showGeneralError(monitor_->services().boxes, SJIS("不明なエラーが発生しました"));
    }
  });
}

QWidget* MainWindow::boxOwner() {
  for (auto it = askers_.rbegin(); it != askers_.rend(); ++it)
    if (*it && (*it)->isVisible()) return *it;
  return this;
}

void MainWindow::shutdownRequested() {
  StopRequest& stop = monitor_->stopRequest();
  if (stopped_ || stop.requested()) return;
  monitor_->sessionEnding();
  // At once when nothing runs; else once the running action has given up.
  stop.request();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // A quit while an action runs (the session manager's, at the session's
  // end) would close its boxes as if answered and leave its waits, and the
  // action would go on past the stop sequence. It ends the program as a
  // termination signal does instead; once idle, our own quit passes.
  if (watched == qApp && event->type() == QEvent::Quit && !stopped_ &&
      monitor_->stopRequest().actionRunning()) {
    monitor_->stopRequest().request();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  runGuarded([this] { monitor_->windowShown(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (stopped_) {
    event->accept();
    return;
  }
  event->ignore();
  StopRequest& stop = monitor_->stopRequest();
  // The question is an action of its own: a request to end that comes while
  // it is open closes it, and the stop follows once it has returned.
  bool confirmed = false;
  stop.runAction([this, &confirmed] { confirmed = monitor_->confirmClose(); });
  if (!confirmed || stop.requested()) return;
  // Closed while an action runs (from inside it, or the window's own close
  // button while it waits): that action gives up first.
  if (stop.actionRunning()) {
    stop.request();
    return;
  }
  event->accept();
  stop.request();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // Restored from the task bar after the background minimised it.
  if (event->type() == QEvent::WindowStateChange && isVisible() && !isMinimized())
    runGuarded([this] { monitor_->background().windowRestored(); });
}

void MainWindow::showWindow() {
  showNormal();
  // The window manager raises the window it is asked to activate.
  activateWindow();
}

void MainWindow::endAtOnce() {
  stopped_ = true;
  closeOwnWindows();
  if (onStopped_) onStopped_();
}

void MainWindow::runStopSequence() {
  stopped_ = true;
  closeOwnWindows();
  monitor_->shutDown();
  if (onStopped_) onStopped_();
}

void MainWindow::closeOwnWindows() {
  // The toolkit's quit first asks every window shown to close: one left
  // open would keep the process alive with nothing behind it. (The boxes
  // were closed when the stop was asked for.)
  settingsDialog_->hide();
}

}  // namespace orvis::ui
