#include "status_window.h"

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

QToolButton* actionButton(QWidget* parent, const char* name, const char* utf8Caption, int x) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(QString::fromUtf8(utf8Caption));
  b->setGeometry(x, 70, 90, 25);
  return b;
}

}  // namespace

StatusWindow::StatusWindow(QWidget* parent) : QWidget(parent) {
  setObjectName("TForm1");
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setGeometry(0, 0, 290, 35);
  setFixedSize(290, 35);
  setAutoFillBackground(true);
  QPalette strip = palette();
  strip.setColor(QPalette::Window, kStripGrey);
  setPalette(strip);

  statusPanel_ = new QLabel(this);
  statusPanel_->setObjectName("Panel3");
  statusPanel_->setGeometry(4, 4, 273, 29);
  statusPanel_->setAlignment(Qt::AlignCenter);
  statusPanel_->setAutoFillBackground(true);
  QPalette panel = statusPanel_->palette();
  panel.setColor(QPalette::Window, kStripGrey);
  panel.setColor(QPalette::WindowText, Qt::red);
  statusPanel_->setPalette(panel);
  QFont font = statusPanel_->font();
  font.setBold(true);
  font.setItalic(true);
  statusPanel_->setFont(font);
  statusPanel_->setText(QString::fromUtf8("実行準備中．．．．"));

  // Outside the strip: the work folder name, the count and the operations.
  workFolderLabel_ = new QLabel(this);
  workFolderLabel_->setObjectName("job");
  workFolderLabel_->setGeometry(4, 40, 140, 25);
  countLabel_ = new QLabel(this);
  countLabel_->setObjectName("Label2");
  countLabel_->setGeometry(150, 40, 130, 25);
  sendButton_ = actionButton(this, "SpeedButton1", "送信実行", 4);
  testSendButton_ = actionButton(this, "SpeedButton2", "テスト送信", 98);
  abortButton_ = actionButton(this, "SpeedButton3", "中　　断", 192);
  connect(sendButton_, &QToolButton::clicked, this, [this] {
    if (onSend) onSend();
  });
  connect(testSendButton_, &QToolButton::clicked, this, [this] {
    if (onTestSend) onTestSend();
  });
  connect(abortButton_, &QToolButton::clicked, this, [this] {
    if (onAbort) onAbort();
  });
}

void StatusWindow::setCaption(const std::string& text) { setWindowTitle(fromCp932(text)); }
void StatusWindow::setWorkFolderName(const std::string& text) {
  workFolderLabel_->setText(fromCp932(text));
}
void StatusWindow::setStatus(const std::string& text) { statusPanel_->setText(fromCp932(text)); }
void StatusWindow::setCountText(const std::string& text) { countLabel_->setText(fromCp932(text)); }

void StatusWindow::setBusy(bool busy) {
  sendButton_->setEnabled(!busy);
  testSendButton_->setEnabled(!busy);
  statusPanel_->setVisible(busy);
}

void StatusWindow::showMessage(const std::string& text, const std::string& caption) {
  if (messageBoxHook) {
    messageBoxHook(fromCp932(text), fromCp932(caption));
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, fromCp932(caption), fromCp932(text), QMessageBox::Ok, this);
  box.exec();
}

}  // namespace orvis::postiva
