#include "main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>

#include "monitor/shell/general_errors.h"
#include "pictures.h"
#include "platform/codec.h"
#include "qt_text.h"

namespace orvis::ui {

MainWindow::MainWindow(const MonitorHost& host, Timers timers)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  setObjectName("Form1");
  setWindowIcon(applicationIcon());
  buildWidgets();
  monitor_ = std::make_unique<Monitor>(host, MonitorViews{*this, *jobGrid_, *jobEditor_, tray_});
  if (timers == Timers::Live) {
    auto& t = monitor_->timers();
    for (platform::Timer* timer : {&t.startup, &t.check, &t.reactivation})
      timer->attach(&timerDriver_);
  }
  jobGrid_->setLook([this](int row, int column, bool selected) {
    return monitor_->jobList().cellLook(row, column, selected);
  });
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

void MainWindow::onClick(QAbstractButton* button, std::function<void()> action) {
  connect(button, &QAbstractButton::clicked, this, [this, action] { runGuarded(action); });
}

void MainWindow::wireEvents() {
  Monitor& m = *monitor_;
  onClick(autoCheckStartButton_, [&m] { m.autoCheck().startAutomaticMode(); });
  onClick(autoCheckStopButton_, [&m] { m.autoCheck().stopAutomaticMode(); });
  onClick(backgroundButton_, [&m] { m.background().sendToBackground(); });
  onClick(closeButton_, [&m] { m.requestClose(); });
  for (QToolButton* capture : {captureButton_, captureAllButton_})
    onClick(capture, [&m] { m.capture().captureSelectedJobs(); });
  onClick(mailTestButton_, [&m] { m.mailTest().sendTestMail(); });
  connect(jobGrid_, &JobGridWidget::cellSelected, this,
          [&m](int column, int row) { m.jobList().selectCell(column, row); });
  wireEditorEvents();
}

void MainWindow::wireEditorEvents() {
  JobEditor& e = monitor_->jobEditor();
  connect(jobGrid_, &JobGridWidget::clickedOnRow, this,
          [this, &e] { runGuarded([&e] { e.loadSelectedJob(); }); });
  const std::pair<QRadioButton*, JobType> types[] = {{jobEditor_->urlTypeButton, JobType::Url},
                                                     {jobEditor_->fileTypeButton, JobType::File},
                                                     {jobEditor_->procTypeButton, JobType::Proc},
                                                     {jobEditor_->driveTypeButton, JobType::Drive}};
  for (auto [button, type] : types) onClick(button, [&e, type = type] { e.typeChosen(type); });
  onClick(jobEditor_->ownMailBox, [&e] { e.ownMailToggled(); });
  onClick(jobEditor_->ownCompareRulesBox, [&e] { e.ownCompareRulesToggled(); });
  onClick(jobEditor_->compareContentBox, [&e] { e.compareContentToggled(); });
  onClick(jobEditor_->wordCheckBox, [&e] { e.wordCheckToggled(); });
  connect(jobEditor_->mailGroupChoice, &QComboBox::activated, this,
          [this, &e] { runGuarded([&e] { e.mailGroupChosen(); }); });
  onClick(jobEditor_->saveButton, [&e] { e.saveJob(); });
  onClick(jobEditor_->deleteButton, [&e] { e.deleteJob(); });
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

void MainWindow::setCaption(const std::string& text) { setWindowTitle(fromCp932(text)); }

std::string MainWindow::caption() const { return toCp932(windowTitle()); }

void MainWindow::moveToTopLeft() {
  QScreen* screen = QGuiApplication::primaryScreen();
  move(screen ? screen->availableGeometry().topLeft() : QPoint(0, 0));
}

void MainWindow::setStatusText(int panel, const std::string& text) {
  if (panel >= 0 && panel < 3) statusPanels_[panel]->setText(fromCp932(text));
}

std::string MainWindow::statusText(int panel) const {
  return (panel >= 0 && panel < 3) ? toCp932(statusPanels_[panel]->text()) : std::string();
}

void MainWindow::setModeLabel(bool automatic) {
  modeLabel_->setText(automatic ? QStringLiteral("自動チェックモード")
                                : QStringLiteral("編集・手動モード"));
  modeLabel_->setStyleSheet(automatic ? "color: rgb(255,0,0); font-weight: bold; font-size: 16px;"
                                      : "color: rgb(0,0,255); font-weight: bold; font-size: 16px;");
}

void MainWindow::setAutoCheckButtons(bool startEnabled, bool stopEnabled) {
  autoCheckStartButton_->setEnabled(startEnabled);
  autoCheckStopButton_->setEnabled(stopEnabled);
}

void MainWindow::setEditControlsEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{
           jobEditor_->deleteButton, jobEditor_->saveButton, captureButton_, manualCheckButton_,
           reactivationTestButton_, mailTestButton_, jobEditor_->previewButton, alarmCheckButton_,
           alarmStopButton_, settingsButton_, jobEditor_->numberField, jobEditor_->targetField,
           jobEditor_->nameField})
    w->setEnabled(enabled);
}

void MainWindow::setCheckPeriod(const std::string& minutes) {
  checkPeriodField_->setText(fromCp932(minutes));
}

void MainWindow::setDiskGauge(int64_t maximum, int64_t progress) {
  diskGauge_->setRange(0, static_cast<int>(std::min<int64_t>(maximum, INT32_MAX)));
  diskGauge_->setValue(static_cast<int>(std::min<int64_t>(progress, INT32_MAX)));
}

std::vector<QWidget*> MainWindow::busyLockedWidgets() const {
  return {jobEditor_->deleteButton,
          closeButton_,
          jobEditor_->saveButton,
          placeholderButtons_[0],
          placeholderButtons_[1],
          placeholderButtons_[2],
          captureAllButton_,
          hiddenManualCheckButton_,
          jobGrid_};
}

void MainWindow::showBusyPanel() {
  for (QWidget* w : busyLockedWidgets()) w->setEnabled(false);
  busyPanel_->move(352, 260);
  busyPanel_->show();
  busyPanel_->raise();
  busyPanel_->animation->stop();
  busyPanel_->animation->start();
  busyPanel_->progress->clear();
  busyPanel_->progress->show();
  // Visible before the long operation starts.
  busyPanel_->repaint();
}

void MainWindow::hideBusyPanel() {
  busyPanel_->animation->stop();
  busyPanel_->hide();
  for (QWidget* w : busyLockedWidgets()) w->setEnabled(true);
  busyPanel_->progress->clear();
  busyPanel_->progress->hide();
}

// The panel's own flag: a hidden window does not make the panel count as hidden.
bool MainWindow::busyPanelVisible() const { return !busyPanel_->isHidden(); }

void MainWindow::setBusyMessage(const std::string& text) {
  busyPanel_->message->setText(fromCp932(text));
}

void MainWindow::setProgressText(const std::string& text) {
  busyPanel_->progress->setText(fromCp932(text));
}

}  // namespace orvis::ui
