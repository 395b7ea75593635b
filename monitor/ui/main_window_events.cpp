// The main window's events, forwarded to the logic subsystem by subsystem.

#include <QComboBox>
#include <QRadioButton>
#include <utility>

#include "main_window.h"

namespace orvis::ui {

void MainWindow::onClick(QAbstractButton* button, std::function<void()> action) {
  connect(button, &QAbstractButton::clicked, this, [this, action] { runGuarded(action); });
}

void MainWindow::wireEvents() {
  wireShellEvents();
  wireCatalogueEvents();
  wireEngineEvents();
  wireAlertingEvents();
  wireHistoryEvents();
}

void MainWindow::wireShellEvents() {
  Monitor& m = *monitor_;
  onClick(backgroundButton_, [&m] { m.background().sendToBackground(); });
  tray_.setOnMouseMessage([this, &m](int message) {
    runGuarded([&m, message] { m.background().iconClicked(message); });
  });
  onClick(reactivationTestButton_, [&m] { m.reactivation().runTest(); });
  onClick(closeButton_, [&m] { m.requestClose(); });
  onClick(settingsButton_, [this] { settingsDialog_->showCentred(); });
}

void MainWindow::wireCatalogueEvents() {
  JobList& list = monitor_->jobList();
  connect(jobGrid_, &JobGridWidget::cellSelected, this,
          [&list](int column, int row) { list.selectCell(column, row); });
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

void MainWindow::wireEngineEvents() {
  Monitor& m = *monitor_;
  onClick(autoCheckStartButton_, [&m] { m.autoCheck().startAutomaticMode(); });
  onClick(autoCheckStopButton_, [&m] { m.autoCheck().stopAutomaticMode(); });
  for (QToolButton* capture : {captureButton_, captureAllButton_})
    onClick(capture, [&m] { m.capture().captureSelectedJobs(); });
  for (QToolButton* check : {manualCheckButton_, hiddenManualCheckButton_})
    onClick(check, [&m] { m.checkCycle().checkSelectedJobs(); });
  onClick(jobEditor_->previewButton, [&m] { m.preview().showTarget(); });
}

void MainWindow::wireAlertingEvents() {
  Monitor& m = *monitor_;
  onClick(mailTestButton_, [&m] { m.mailTest().sendTestMail(); });
  AlarmControls& a = m.alarmControls();
  onClick(alarmPanel_->closeButton, [&a] { a.closeAlarmPanel(); });
  onClick(alarmCheckButton_, [&a] { a.showSoundCheck(); });
  for (QToolButton* stop : {alarmStopButton_, soundCheckPanel_->stopButton})
    onClick(stop, [&a] { a.stopSound(); });
  onClick(soundCheckPanel_->playButton, [&a] { a.playTestSound(); });
  onClick(soundCheckPanel_->closeButton, [&a] { a.hideSoundCheck(); });
}

}  // namespace orvis::ui
