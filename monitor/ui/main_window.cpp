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

TForm1::TForm1(const MonitorWindowConfig& config)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  setObjectName("Form1");
  setWindowIcon(applicationIcon());
  buildWidgets();
  config.prompter.setOwner(this);
  MonitorHost host{config.dataFolder, config.start,    config.clock,     config.pump,
                   config.prompter,   config.launcher, config.processes, config.disks};
  monitor_ = std::make_unique<Monitor>(host, MonitorViews{*this, *sg1, *editor, tray_});
  if (config.liveTimers) {
    auto& t = monitor_->timers();
    for (platform::Timer* timer : {&t.startup, &t.devCheck, &t.react}) timer->attach(&timerDriver_);
  }
  sg1->setLook([this](int row, int column, bool selected) {
    return monitor_->jobList().sg1DrawCell(row, column, selected);
  });
  wireEvents();
  onStopped_ = [] { QCoreApplication::quit(); };
  connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
    // A session that ends without closing the window still stops in order.
    if (!stopped_) runStopSequence();
  });
  monitor_->FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::runGuarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    ShowGeneralError(monitor_->services(), platform::toCp932(e.what()));
  } catch (...) {
    ShowGeneralError(monitor_->services(), SJIS("不明なエラーが発生しました"));
  }
}

void TForm1::onClick(QAbstractButton* button, std::function<void()> action) {
  connect(button, &QAbstractButton::clicked, this, [this, action] { runGuarded(action); });
}

void TForm1::wireEvents() {
  Monitor& m = *monitor_;
  onClick(SpeedButton10, [&m] { m.autoCheck().SpeedButton10Click(); });
  onClick(SpeedButton14, [&m] { m.autoCheck().SpeedButton14Click(); });
  onClick(SpeedButton18, [&m] { m.background().SpeedButton18Click(); });
  onClick(SpeedButton6, [&m] { m.SpeedButton6Click(); });
  for (QToolButton* capture : {SpeedButton12, SpeedButton5})
    onClick(capture, [&m] { m.capture().SpeedButton5Click(); });
  onClick(SpeedButton16, [&m] { m.mailTest().SpeedButton16Click(); });
  connect(sg1, &JobGridWidget::cellSelected, this,
          [&m](int column, int row) { m.jobList().sg1SelectCell(column, row); });
  wireEditorEvents();
}

void TForm1::wireEditorEvents() {
  JobEditor& e = monitor_->editor();
  connect(sg1, &JobGridWidget::clickedOnRow, this,
          [this, &e] { runGuarded([&e] { e.sg1Click(); }); });
  onClick(editor->rbUrl, [&e] { e.rbUrlClick(); });
  onClick(editor->rbFile, [&e] { e.rbFileClick(); });
  onClick(editor->rbProc, [&e] { e.rbProcClick(); });
  onClick(editor->rbDrive, [&e] { e.rbDriveClick(); });
  onClick(editor->chkUseUserMail, [&e] { e.chkUseUserMailClick(); });
  onClick(editor->chkKobetsu, [&e] { e.chkKobetsuClick(); });
  onClick(editor->chkHikaku, [&e] { e.chkHikakuClick(); });
  onClick(editor->chkWord, [&e] { e.chkWordClick(); });
  connect(editor->cmbMailGroup, &QComboBox::activated, this,
          [this, &e] { runGuarded([&e] { e.cmbMailGroupChange(); }); });
  onClick(editor->SpeedButton8, [&e] { e.SpeedButton8Click(); });
  onClick(editor->SpeedButton2, [&e] { e.SpeedButton2Click(); });
}

void TForm1::shutdownRequested() {
  monitor_->ShutDownMessage();
  close();
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  monitor_->FormShow();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (stopped_) {
    event->accept();
    return;
  }
  if (!monitor_->FormCloseQuery()) {
    event->ignore();
    return;
  }
  event->accept();
  runStopSequence();
}

void TForm1::runStopSequence() {
  stopped_ = true;
  monitor_->FormClose();
  if (onStopped_) onStopped_();
}

void TForm1::setCaption(const std::string& text) { setWindowTitle(fromCp932(text)); }

std::string TForm1::caption() const { return toCp932(windowTitle()); }

void TForm1::moveToTopLeft() {
  QScreen* screen = QGuiApplication::primaryScreen();
  move(screen ? screen->availableGeometry().topLeft() : QPoint(0, 0));
}

void TForm1::setStatusText(int panel, const std::string& text) {
  if (panel >= 0 && panel < 3) StatusPanels[panel]->setText(fromCp932(text));
}

std::string TForm1::statusText(int panel) const {
  return (panel >= 0 && panel < 3) ? toCp932(StatusPanels[panel]->text()) : std::string();
}

void TForm1::setModeLabel(bool automatic) {
  Label10->setText(automatic ? QStringLiteral("自動チェックモード")
                             : QStringLiteral("編集・手動モード"));
  Label10->setStyleSheet(automatic ? "color: rgb(255,0,0); font-weight: bold; font-size: 16px;"
                                   : "color: rgb(0,0,255); font-weight: bold; font-size: 16px;");
}

void TForm1::setAutoCheckButtons(bool startEnabled, bool stopEnabled) {
  SpeedButton10->setEnabled(startEnabled);
  SpeedButton14->setEnabled(stopEnabled);
}

void TForm1::SetEditControlsEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{
           editor->SpeedButton2, editor->SpeedButton8, SpeedButton12, SpeedButton13, SpeedButton15,
           SpeedButton16, editor->SpeedButton17, SpeedButton20, SpeedButton21, SpeedButton50,
           editor->Edit1, editor->Edit2, editor->Edit4})
    w->setEnabled(enabled);
}

void TForm1::setCheckPeriod(const std::string& minutes) { Edit3->setText(fromCp932(minutes)); }

void TForm1::setDiskGauge(int64_t maximum, int64_t progress) {
  Gauge1->setRange(0, static_cast<int>(std::min<int64_t>(maximum, INT32_MAX)));
  Gauge1->setValue(static_cast<int>(std::min<int64_t>(progress, INT32_MAX)));
}

void TForm1::StartPanel() {
  for (QWidget* w : std::initializer_list<QWidget*>{
           editor->SpeedButton2, SpeedButton6, editor->SpeedButton8, SpeedButton1, SpeedButton3,
           SpeedButton4, SpeedButton5, SpeedButton7, sg1})
    w->setEnabled(false);
  Panel1->move(352, 260);
  Panel1->show();
  Panel1->raise();
  Panel1->Animate1->stop();
  Panel1->Animate1->start();
  Panel1->progress->clear();
  Panel1->progress->show();
  // Visible before the long operation starts.
  Panel1->repaint();
}

void TForm1::EndPanel() {
  Panel1->Animate1->stop();
  Panel1->hide();
  for (QWidget* w : std::initializer_list<QWidget*>{
           sg1, editor->SpeedButton2, SpeedButton6, editor->SpeedButton8, SpeedButton1,
           SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton7})
    w->setEnabled(true);
  Panel1->progress->clear();
  Panel1->progress->hide();
}

// The panel's own flag: a hidden window does not make the panel count as hidden.
bool TForm1::busyPanelVisible() const { return !Panel1->isHidden(); }

void TForm1::setBusyMessage(const std::string& text) { Panel1->panelMsg->setText(fromCp932(text)); }

void TForm1::setProgressText(const std::string& text) {
  Panel1->progress->setText(fromCp932(text));
}

}  // namespace orvis::ui
