// The widgets of the main window and where they sit.

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QStatusBar>
#include <QVBoxLayout>

#include "flat_button.h"
#include "main_window.h"

namespace orvis::ui {

void MainWindow::buildWidgets() {
  auto* central = new QWidget(this);
  central->setObjectName("ClientArea");
  setCentralWidget(central);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->setSpacing(2);
  layout->addWidget(buildTopArea(central));

  auto* listLabel = new QLabel(QStringLiteral("チェック対象ジョブリスト"), central);
  listLabel->setObjectName("lblJobList");
  listLabel->setStyleSheet("font-weight: bold;");
  layout->addWidget(listLabel);
  jobGrid_ = new JobGridWidget(central);
  listLabel->setBuddy(jobGrid_);
  jobGrid_->setMinimumHeight(170);
  layout->addWidget(jobGrid_, 1);

  jobEditor_ = new JobEditorPanel(central);
  jobEditor_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  layout->addWidget(jobEditor_, 0);

  // Hidden buttons that only the busy panel touches.
  auto hidden = [central](const char* name, const QString& caption) {
    QToolButton* b = flatButton(central, name, caption);
    b->hide();
    return b;
  };
  placeholderButtons_[0] = hidden("SpeedButton1", QStringLiteral("?"));
  placeholderButtons_[1] = hidden("SpeedButton3", QStringLiteral("?"));
  placeholderButtons_[2] = hidden("SpeedButton4", QStringLiteral("?"));
  captureAllButton_ = hidden("SpeedButton5", QStringLiteral("全ソース取得"));
  hiddenManualCheckButton_ = hidden("SpeedButton7", QStringLiteral("手動チェック"));

  // Panels over the client area, shown when needed.
  busyPanel_ = new BusyPanel(central);
  alarmPanel_ = new AlarmPanel(central);
  soundCheckPanel_ = new SoundCheckPanel(central);

  buildStatusBar();
  setFixedSize(1017, 703);
}

QWidget* MainWindow::buildTopArea(QWidget* parent) {
  auto* top = new QWidget(parent);
  auto* row = new QHBoxLayout(top);
  row->setContentsMargins(0, 0, 0, 0);

  auto* period = new QGroupBox(QStringLiteral("チェック周期"), top);
  period->setObjectName("grpCheckPeriod");
  auto* p = new QGridLayout(period);
  p->setContentsMargins(6, 2, 6, 4);
  p->setVerticalSpacing(2);
  modeLabel_ = new QLabel(period);
  modeLabel_->setObjectName("Label10");
  setModeLabel(false);
  p->addWidget(modeLabel_, 0, 0, 1, 3);
  checkPeriodField_ = new QLineEdit(period);
  checkPeriodField_->setObjectName("Edit3");
  checkPeriodField_->setReadOnly(true);
  checkPeriodField_->setMaximumWidth(70);
  checkPeriodField_->setAlignment(Qt::AlignRight);
  auto* minutes = new QLabel(QStringLiteral("分周期"), period);
  minutes->setBuddy(checkPeriodField_);
  p->addWidget(checkPeriodField_, 1, 0);
  p->addWidget(minutes, 1, 1);
  autoCheckStartButton_ = flatButton(period, "SpeedButton10", QStringLiteral("自動チェック開始"));
  autoCheckStopButton_ = flatButton(period, "SpeedButton14", QStringLiteral("自動チェック停止"));
  autoCheckStopButton_->setEnabled(false);
  manualCheckButton_ = flatButton(period, "SpeedButton13", QStringLiteral("手動チェック"));
  captureButton_ = flatButton(period, "SpeedButton12", QStringLiteral("比較元ソース取得"));
  p->addWidget(autoCheckStartButton_, 2, 0, 1, 2);
  p->addWidget(autoCheckStopButton_, 2, 2);
  p->addWidget(manualCheckButton_, 3, 0, 1, 2);
  p->addWidget(captureButton_, 3, 2);
  row->addWidget(period, 4);

  auto* ops = new QGroupBox(QStringLiteral("動作設定"), top);
  ops->setObjectName("grpOperation");
  auto* o = new QGridLayout(ops);
  o->setContentsMargins(6, 2, 6, 4);
  o->setVerticalSpacing(2);
  backgroundButton_ = flatButton(ops, "SpeedButton18", QStringLiteral("ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞへ"));
  reactivationTestButton_ = flatButton(ops, "SpeedButton15", QStringLiteral("ReActivationﾃｽﾄ"));
  mailTestButton_ = flatButton(ops, "SpeedButton16", QStringLiteral("ﾒｰﾙﾃｽﾄ"));
  alarmCheckButton_ = flatButton(ops, "SpeedButton20", QStringLiteral("警告音確認"));
  alarmStopButton_ = flatButton(ops, "SpeedButton21", QStringLiteral("警告音停止"));
  settingsButton_ = flatButton(ops, "SpeedButton50", QStringLiteral("設定"));
  closeButton_ = flatButton(ops, "SpeedButton6", QStringLiteral("Close"));
  o->addWidget(backgroundButton_, 0, 0);
  o->addWidget(reactivationTestButton_, 0, 1);
  o->addWidget(mailTestButton_, 0, 2);
  o->addWidget(alarmCheckButton_, 1, 0);
  o->addWidget(alarmStopButton_, 1, 1);
  o->addWidget(settingsButton_, 1, 2);
  o->addWidget(closeButton_, 2, 2);
  row->addWidget(ops, 5);

  auto* disk = new QGroupBox(QStringLiteral("ハードディスク使用量"), top);
  disk->setObjectName("grpDisk");
  auto* d = new QVBoxLayout(disk);
  diskGauge_ = new QProgressBar(disk);
  diskGauge_->setObjectName("Gauge1");
  diskGauge_->setToolTip(QStringLiteral("ハードディスク使用量"));
  diskGauge_->setFormat("%p%");
  diskGauge_->setTextVisible(true);
  d->addWidget(diskGauge_);
  d->addStretch(1);
  row->addWidget(disk, 2);
  return top;
}

void MainWindow::buildStatusBar() {
  auto* bar = new QStatusBar(this);
  bar->setObjectName("StatusBar1");
  bar->setSizeGripEnabled(false);
  const int widths[3] = {400, 300, 50};
  for (int i = 0; i < 3; ++i) {
    statusPanels_[i] = new QLabel(bar);
    statusPanels_[i]->setObjectName(QString("StatusPanel%1").arg(i));
    statusPanels_[i]->setFixedWidth(widths[i]);
    statusPanels_[i]->setFrameShape(QFrame::Panel);
    statusPanels_[i]->setFrameShadow(QFrame::Sunken);
    bar->addWidget(statusPanels_[i]);
  }
  setStatusBar(bar);
}

}  // namespace orvis::ui
