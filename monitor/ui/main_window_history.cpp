// The history window, from the job editor's button and the grid's menu.

#include <QMenu>

#include "main_window.h"
#include "platform/codec.h"

namespace orvis::ui {

void MainWindow::wireHistoryEvents() {
  connect(jobEditor_->historyButton, &QToolButton::clicked, this, &MainWindow::showHistory);
  connect(jobGrid_, &JobGridWidget::menuRequested, this, [this](const QPoint& at) {
    QMenu menu(this);
    menu.setObjectName("mnuJobGrid");
    QAction* history = menu.addAction(QStringLiteral("履歴"));
    history->setObjectName("actHistory");
    connect(history, &QAction::triggered, this, &MainWindow::showHistory);
    menu.exec(at);
  });
}

void MainWindow::showHistory() {
  // It only reads: a check pass that runs meanwhile goes on.
  const JobRecord* job = monitor_->jobs().atRow(monitor_->jobList().selectedRow());
  if (!job || job->number.empty()) {
    monitor_->services().boxes.show(SJIS("リスト上で履歴を見る対象をクリックしてください。"),
                                    "OrvisWatch", mb::OK);
    return;
  }
  if (!historyWindow_)
    historyWindow_ = std::make_unique<HistoryWindow>(monitor_->services().dataFolder, this);
  if (!historyWindow_->showJob(job->number)) {
    monitor_->services().boxes.show(
        SJIS("№") + job->number + SJIS("のジョブファイルが読めません。"), "OrvisWatch", mb::OK);
    return;
  }
  historyWindow_->show();
  historyWindow_->raise();
  historyWindow_->activateWindow();
}

}  // namespace orvis::ui
