// The main window as the shell logic sees it: caption, status bar, mode,
// the locks of the editing controls, the disk gauge and the busy panel.

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdint>

#include "main_window.h"
#include "qt_text.h"

namespace orvis::ui {

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

void MainWindow::showCompareGauge(int64_t maximum) {
  // A bar counts in int: a larger page is shown in kilobytes.
  compareGaugeScale_ = maximum > INT32_MAX ? 1024 : 1;
  QProgressBar* gauge = busyPanel_->compareGauge;
  gauge->setRange(0, static_cast<int>(std::min<int64_t>(maximum / compareGaugeScale_, INT32_MAX)));
  gauge->setValue(0);
  gauge->show();
}

void MainWindow::setCompareProgress(int64_t progress) {
  QProgressBar* gauge = busyPanel_->compareGauge;
  gauge->setValue(
      static_cast<int>(std::min<int64_t>(progress / compareGaugeScale_, gauge->maximum())));
}

void MainWindow::hideCompareGauge() { busyPanel_->compareGauge->hide(); }

void MainWindow::setProgressText(const std::string& text) {
  busyPanel_->progress->setText(fromCp932(text));
}

}  // namespace orvis::ui
