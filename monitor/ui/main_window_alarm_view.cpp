// The main window as the alarm logic sees it: the red alarm panel and the
// sound check panel over the client area.

#include "main_window.h"

namespace orvis::ui {

namespace {

void showAt(QWidget* panel, int left, int top) {
  panel->move(left, top);
  panel->show();
  panel->raise();
}

}  // namespace

// The panels' own flags, as for the busy panel: a window in the background
// does not hide an alarm.
bool MainWindow::alarmPanelVisible() const { return !alarmPanel_->isHidden(); }

void MainWindow::showAlarmPanelAt(int left, int top) { showAt(alarmPanel_, left, top); }

void MainWindow::hideAlarmPanel() { alarmPanel_->hide(); }

void MainWindow::showSoundCheckPanelAt(int left, int top) { showAt(soundCheckPanel_, left, top); }

void MainWindow::hideSoundCheckPanel() { soundCheckPanel_->hide(); }

void MainWindow::chooseFirstSound() { soundCheckPanel_->soundChoice->setCurrentIndex(0); }

bool MainWindow::soundChosen() const { return soundCheckPanel_->soundChoice->currentIndex() == 0; }

}  // namespace orvis::ui
