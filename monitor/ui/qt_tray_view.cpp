#include "qt_tray_view.h"

#include "pictures.h"
#include "platform/codec.h"
#include "qt_text.h"

namespace orvis::ui {
namespace {
// Windows' mouse messages, as the logic knows them.
constexpr int kLeftButtonUp = 0x0202;
constexpr int kLeftButtonDoubleClick = 0x0203;
constexpr int kRightButtonUp = 0x0205;
constexpr int kMiddleButtonUp = 0x0208;
}  // namespace

QtTrayView::QtTrayView() = default;
QtTrayView::~QtTrayView() = default;

bool QtTrayView::available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

std::vector<int> QtTrayView::mouseMessagesFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return {kLeftButtonUp};
    case QSystemTrayIcon::Context:
      return {kRightButtonUp};
    case QSystemTrayIcon::DoubleClick:
      return {kLeftButtonDoubleClick, kLeftButtonUp};
    case QSystemTrayIcon::MiddleClick:
      return {kMiddleButtonUp};
    default:
      return {};
  }
}

void QtTrayView::activate(QSystemTrayIcon::ActivationReason reason) {
  for (int message : mouseMessagesFor(reason))
    if (onMouseMessage_) onMouseMessage_(message);
}

void QtTrayView::show(int picture, const std::string& tip) {
  icon_->setIcon(trayPicture(picture));
  icon_->setToolTip(fromCp932(tip));
  icon_->show();
}

TrayOutcome QtTrayView::addIcon(int picture, const std::string& tip) {
  if (!available()) return TrayOutcome::failed(SJIS("デスクトップに通知領域がありません"));
  if (!icon_) {
    icon_ = std::make_unique<QSystemTrayIcon>();
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated, icon_.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) { activate(reason); });
  }
  show(picture, tip);
  return icon_->isVisible() ? TrayOutcome{} : TrayOutcome::failed();
}

TrayOutcome QtTrayView::modifyIcon(int picture, const std::string& tip) {
  // Gone with the desktop's notification area: only an add brings it back.
  if (!icon_ || !icon_->isVisible() || !available()) return TrayOutcome::failed();
  show(picture, tip);
  return {};
}

void QtTrayView::removeIcon() {
  if (icon_) icon_->hide();
  icon_.reset();
}

}  // namespace orvis::ui
