#include "pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace orvis::ui {
namespace {

QPixmap blank(int size = 16) {
  QPixmap p(size, size);
  p.fill(Qt::white);  // white is the transparent colour of the grid's pictures
  return p;
}

void disc(QPainter& g, QColor fill) {
  g.setRenderHint(QPainter::Antialiasing);
  g.setPen(QPen(fill.darker(140), 1));
  g.setBrush(fill);
  g.drawEllipse(QRectF(1.5, 1.5, 13, 13));
}

}  // namespace

QPixmap resultPicture(int number) {
  QPixmap p = blank();
  QPainter g(&p);
  switch (number) {
    case 1: {  // no change: a green disc with a white tick
      disc(g, QColor(34, 160, 60));
      g.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      g.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(7, 11), QPointF(11.5, 5)}));
      break;
    }
    case 4: {  // change found: a red disc with a white exclamation mark
      disc(g, QColor(220, 30, 30));
      g.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
      g.drawLine(QPointF(8, 4.5), QPointF(8, 8.5));
      g.drawPoint(QPointF(8, 11.5));
      break;
    }
    case 6: {  // no answer, retry pending: an amber disc with a white "R"
      disc(g, QColor(240, 150, 0));
      QFont f;
      f.setPixelSize(10);
      f.setBold(true);
      g.setFont(f);
      g.setPen(Qt::white);
      g.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, "R");
      break;
    }
    default: {  // unused numbers: a grey ring
      g.setRenderHint(QPainter::Antialiasing);
      g.setPen(QPen(QColor(150, 150, 150), 1.5));
      g.drawEllipse(QRectF(3, 3, 10, 10));
      break;
    }
  }
  return p;
}

QPixmap markPicture(int /*number*/) {
  // Important: a red star.
  QPixmap p = blank();
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  QPolygonF star;
  for (int i = 0; i < 10; ++i) {
    double r = (i % 2 == 0) ? 7.5 : 3.2;
    double a = -M_PI / 2 + i * M_PI / 5;
    star << QPointF(8 + r * std::cos(a), 8.5 + r * std::sin(a));
  }
  g.setPen(QPen(QColor(150, 0, 0), 1));
  g.setBrush(QColor(230, 20, 20));
  g.drawPolygon(star);
  return p;
}

namespace {

// On a canvas of 32 x 32 units.
void paintTrayPicture(QPainter& g, int number) {
  g.setRenderHint(QPainter::Antialiasing);
  // A screen with an eye: green while waiting, amber while checking.
  QColor colour = number == 1 ? QColor(240, 150, 0) : QColor(30, 140, 60);
  g.setPen(QPen(colour.darker(150), 2));
  g.setBrush(colour);
  g.drawRoundedRect(QRectF(2, 4, 28, 20), 3, 3);
  g.setBrush(Qt::white);
  g.setPen(Qt::NoPen);
  g.drawEllipse(QRectF(8, 9, 16, 10));
  g.setBrush(colour.darker(160));
  g.drawEllipse(QRectF(13, 11, 6, 6));
  g.setPen(QPen(colour.darker(150), 3));
  g.drawLine(QPointF(10, 29), QPointF(22, 29));
}

}  // namespace

QIcon trayPicture(int number) {
  QPixmap p(32, 32);
  p.fill(Qt::transparent);
  QPainter g(&p);
  paintTrayPicture(g, number);
  return QIcon(p);
}

QIcon applicationIcon() { return trayPicture(0); }

QImage applicationIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter g(&image);
  g.scale(size / 32.0, size / 32.0);
  paintTrayPicture(g, 0);
  return image;
}

}  // namespace orvis::ui
