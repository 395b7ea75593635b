// The widgets of the main window and where they sit.

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QStatusBar>
#include <QVBoxLayout>

#include "flat_button.h"
#include "main_window.h"

namespace orvis::ui {

void TForm1::buildWidgets() {
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
  sg1 = new JobGridWidget(central);
  listLabel->setBuddy(sg1);
  sg1->setMinimumHeight(170);
  layout->addWidget(sg1, 1);

  editor = new JobEditorPanel(central);
  editor->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  layout->addWidget(editor, 0);

  // Hidden buttons that only the busy panel touches.
  SpeedButton1 = flatButton(central, "SpeedButton1", QStringLiteral("?"));
  SpeedButton3 = flatButton(central, "SpeedButton3", QStringLiteral("?"));
  SpeedButton4 = flatButton(central, "SpeedButton4", QStringLiteral("?"));
  SpeedButton5 = flatButton(central, "SpeedButton5", QStringLiteral("全ソース取得"));
  SpeedButton7 = flatButton(central, "SpeedButton7", QStringLiteral("手動チェック"));
  for (QWidget* w : {SpeedButton1, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton7})
    w->hide();

  // Panels over the client area, shown when needed.
  Panel1 = new BusyPanel(central);
  pnlDeviceError = new AlarmPanel(central);
  PnlCheckBuzzer = new SoundCheckPanel(central);

  buildStatusBar();
  setFixedSize(1017, 703);
}

QWidget* TForm1::buildTopArea(QWidget* parent) {
  auto* top = new QWidget(parent);
  auto* row = new QHBoxLayout(top);
  row->setContentsMargins(0, 0, 0, 0);

  auto* period = new QGroupBox(QStringLiteral("チェック周期"), top);
  period->setObjectName("grpCheckPeriod");
  auto* p = new QGridLayout(period);
  p->setContentsMargins(6, 2, 6, 4);
  p->setVerticalSpacing(2);
  Label10 = new QLabel(period);
  Label10->setObjectName("Label10");
  setModeLabel(false);
  p->addWidget(Label10, 0, 0, 1, 3);
  Edit3 = new QLineEdit(period);
  Edit3->setObjectName("Edit3");
  Edit3->setReadOnly(true);
  Edit3->setMaximumWidth(70);
  Edit3->setAlignment(Qt::AlignRight);
  auto* minutes = new QLabel(QStringLiteral("分周期"), period);
  minutes->setBuddy(Edit3);
  p->addWidget(Edit3, 1, 0);
  p->addWidget(minutes, 1, 1);
  SpeedButton10 = flatButton(period, "SpeedButton10", QStringLiteral("自動チェック開始"));
  SpeedButton14 = flatButton(period, "SpeedButton14", QStringLiteral("自動チェック停止"));
  SpeedButton14->setEnabled(false);
  SpeedButton13 = flatButton(period, "SpeedButton13", QStringLiteral("手動チェック"));
  SpeedButton12 = flatButton(period, "SpeedButton12", QStringLiteral("比較元ソース取得"));
  p->addWidget(SpeedButton10, 2, 0, 1, 2);
  p->addWidget(SpeedButton14, 2, 2);
  p->addWidget(SpeedButton13, 3, 0, 1, 2);
  p->addWidget(SpeedButton12, 3, 2);
  row->addWidget(period, 4);

  auto* ops = new QGroupBox(QStringLiteral("動作設定"), top);
  ops->setObjectName("grpOperation");
  auto* o = new QGridLayout(ops);
  o->setContentsMargins(6, 2, 6, 4);
  o->setVerticalSpacing(2);
  SpeedButton18 = flatButton(ops, "SpeedButton18", QStringLiteral("ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞへ"));
  SpeedButton15 = flatButton(ops, "SpeedButton15", QStringLiteral("ReActivationﾃｽﾄ"));
  SpeedButton16 = flatButton(ops, "SpeedButton16", QStringLiteral("ﾒｰﾙﾃｽﾄ"));
  SpeedButton20 = flatButton(ops, "SpeedButton20", QStringLiteral("警告音確認"));
  SpeedButton21 = flatButton(ops, "SpeedButton21", QStringLiteral("警告音停止"));
  SpeedButton50 = flatButton(ops, "SpeedButton50", QStringLiteral("設定"));
  SpeedButton6 = flatButton(ops, "SpeedButton6", QStringLiteral("Close"));
  o->addWidget(SpeedButton18, 0, 0);
  o->addWidget(SpeedButton15, 0, 1);
  o->addWidget(SpeedButton16, 0, 2);
  o->addWidget(SpeedButton20, 1, 0);
  o->addWidget(SpeedButton21, 1, 1);
  o->addWidget(SpeedButton50, 1, 2);
  o->addWidget(SpeedButton6, 2, 2);
  row->addWidget(ops, 5);

  auto* disk = new QGroupBox(QStringLiteral("ハードディスク使用量"), top);
  disk->setObjectName("grpDisk");
  auto* d = new QVBoxLayout(disk);
  Gauge1 = new QProgressBar(disk);
  Gauge1->setObjectName("Gauge1");
  Gauge1->setToolTip(QStringLiteral("ハードディスク使用量"));
  Gauge1->setFormat("%p%");
  Gauge1->setTextVisible(true);
  d->addWidget(Gauge1);
  d->addStretch(1);
  row->addWidget(disk, 2);
  return top;
}

void TForm1::buildStatusBar() {
  auto* bar = new QStatusBar(this);
  bar->setObjectName("StatusBar1");
  bar->setSizeGripEnabled(false);
  const int widths[3] = {400, 300, 50};
  for (int i = 0; i < 3; ++i) {
    StatusPanels[i] = new QLabel(bar);
    StatusPanels[i]->setObjectName(QString("StatusPanel%1").arg(i));
    StatusPanels[i]->setFixedWidth(widths[i]);
    StatusPanels[i]->setFrameShape(QFrame::Panel);
    StatusPanels[i]->setFrameShadow(QFrame::Sunken);
    bar->addWidget(StatusPanels[i]);
  }
  setStatusBar(bar);
}

}  // namespace orvis::ui
