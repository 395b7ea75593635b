#include "copy_animation.h"

#include <QPainter>
#include <cmath>

namespace orvis::ui {

CopyAnimation::CopyAnimation(QWidget* parent) : QWidget(parent) {
  setFixedSize(272, 60);
  timer_.setInterval(60);
  connect(&timer_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % 40;
    update();
  });
}

void CopyAnimation::start() { timer_.start(); }

void CopyAnimation::stop() { timer_.stop(); }

void CopyAnimation::paintEvent(QPaintEvent*) {
  QPainter g(this);
  g.setRenderHint(QPainter::Antialiasing);
  auto folder = [&](double x) {
    g.setPen(QPen(QColor(160, 120, 20), 1));
    g.setBrush(QColor(250, 210, 90));
    g.drawRect(QRectF(x, 26, 44, 28));
    g.drawRect(QRectF(x, 20, 18, 6));
  };
  folder(10);
  folder(width() - 54);
  // The sheet flies along an arc from the left folder to the right one.
  double t = frame_ / 39.0;
  double x = 30 + t * (width() - 90);
  double y = 30 - 22 * std::sin(t * M_PI);
  g.setPen(QPen(QColor(90, 90, 90), 1));
  g.setBrush(Qt::white);
  g.drawRect(QRectF(x, y, 16, 20));
  g.drawLine(QPointF(x + 3, y + 6), QPointF(x + 13, y + 6));
  g.drawLine(QPointF(x + 3, y + 10), QPointF(x + 13, y + 10));
  g.drawLine(QPointF(x + 3, y + 14), QPointF(x + 10, y + 14));
}

}  // namespace orvis::ui
