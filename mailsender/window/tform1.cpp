#include "tform1.h"

#include <QLabel>
#include <QMessageBox>
#include <QToolButton>

#include "platform/codec.h"

namespace orvis::postiva {
namespace {

QString fromCp932(const std::string& text) {
  return QString::fromStdString(platform::toUtf8(text));
}

// The colour value 5000268 is a Windows colour, 0x00BBGGRR: grey 76,76,76.
const QColor kStripGrey(0x4C, 0x4C, 0x4C);

QToolButton* speedButton(QWidget* parent, const char* name, const char* utf8Caption, int x) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(QString::fromUtf8(utf8Caption));
  b->setGeometry(x, 70, 90, 25);
  return b;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
  setObjectName("TForm1");
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setGeometry(0, 0, 290, 35);
  setFixedSize(290, 35);
  setAutoFillBackground(true);
  QPalette strip = palette();
  strip.setColor(QPalette::Window, kStripGrey);
  setPalette(strip);

  Panel3 = new QLabel(this);
  Panel3->setObjectName("Panel3");
  Panel3->setGeometry(4, 4, 273, 29);
  Panel3->setAlignment(Qt::AlignCenter);
  Panel3->setAutoFillBackground(true);
  QPalette panel = Panel3->palette();
  panel.setColor(QPalette::Window, kStripGrey);
  panel.setColor(QPalette::WindowText, Qt::red);
  Panel3->setPalette(panel);
  QFont font = Panel3->font();
  font.setBold(true);
  font.setItalic(true);
  Panel3->setFont(font);
  Panel3->setText(QString::fromUtf8("実行準備中．．．．"));

  // Outside the strip: the data of the run, as the original window held it.
  job = new QLabel(this);
  job->setObjectName("job");
  job->setGeometry(4, 40, 140, 25);
  Label2 = new QLabel(this);
  Label2->setObjectName("Label2");
  Label2->setGeometry(150, 40, 130, 25);
  SpeedButton1 = speedButton(this, "SpeedButton1", "送信実行", 4);
  SpeedButton2 = speedButton(this, "SpeedButton2", "テスト送信", 98);
  SpeedButton3 = speedButton(this, "SpeedButton3", "中　　断", 192);
  connect(SpeedButton1, &QToolButton::clicked, this, [this] {
    if (onSend) onSend();
  });
  connect(SpeedButton2, &QToolButton::clicked, this, [this] {
    if (onTestSend) onTestSend();
  });
  connect(SpeedButton3, &QToolButton::clicked, this, [this] {
    if (onAbort) onAbort();
  });
}

void TForm1::setCaption(const std::string& text) { setWindowTitle(fromCp932(text)); }
void TForm1::setJob(const std::string& text) { job->setText(fromCp932(text)); }
void TForm1::setStatus(const std::string& text) { Panel3->setText(fromCp932(text)); }
void TForm1::setCountText(const std::string& text) { Label2->setText(fromCp932(text)); }

void TForm1::SetBusy(bool busy) {
  SpeedButton1->setEnabled(!busy);
  SpeedButton2->setEnabled(!busy);
  Panel3->setVisible(busy);
}

void TForm1::showMessage(const std::string& text, const std::string& caption) {
  if (messageBoxHook) {
    messageBoxHook(fromCp932(text), fromCp932(caption));
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, fromCp932(caption), fromCp932(text), QMessageBox::Ok, this);
  box.exec();
}

}  // namespace orvis::postiva
