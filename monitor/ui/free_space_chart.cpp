#include "free_space_chart.h"

#include <QDateTime>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace orvis::ui {

FreeSpaceChart::FreeSpaceChart(QWidget* parent) : QWidget(parent) {
  setObjectName("chtFreeSpace");
  setMinimumSize(400, 220);
  setAccessibleName(QStringLiteral("空き容量の推移"));
}

void FreeSpaceChart::setHistory(const FreeSpaceHistory& history, int older, int newer) {
  history_ = history;
  older_ = older;
  newer_ = newer;
  update();
}

void FreeSpaceChart::paintEvent(QPaintEvent*) {
  QPainter g(this);
  g.setRenderHint(QPainter::Antialiasing);
  g.fillRect(rect(), Qt::white);
  const QRect plot = rect().adjusted(70, 16, -20, -40);
  g.setPen(QColor(160, 160, 160));
  g.drawRect(plot);
  const auto& points = history_.points;
  if (points.empty()) {
    g.drawText(plot, Qt::AlignCenter, QStringLiteral("記録がありません"));
    return;
  }
  // The scale holds every reading and the threshold, from zero.
  std::int64_t top = history_.thresholdMb;
  for (const FreeSpacePoint& p : points) top = std::max(top, p.freeMb);
  top = std::max<std::int64_t>(top + top / 10, 1);
  const std::time_t first = points.front().stored, last = points.back().stored;
  const double span = last > first ? static_cast<double>(last - first) : 1.0;
  auto xOf = [&](std::size_t i) {
    if (last == first) return plot.left() + plot.width() * (i + 1.0) / (points.size() + 1.0);
    return plot.left() + plot.width() * (points[i].stored - first) / span;
  };
  auto yOf = [&](std::int64_t mb) {
    return plot.bottom() - plot.height() * static_cast<double>(mb) / static_cast<double>(top);
  };
  // Scale marks: megabytes at the left, the first and last time below.
  g.setPen(QColor(96, 96, 96));
  for (int k = 0; k <= 4; ++k) {
    const std::int64_t mb = top * k / 4;
    const double y = yOf(mb);
    g.drawText(QRectF(0, y - 8, plot.left() - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(mb) + " MB");
  }
  auto timeText = [](std::time_t t) {
    return QDateTime::fromSecsSinceEpoch(t).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
  };
  g.drawText(QRectF(plot.left(), plot.bottom() + 4, plot.width(), 16), Qt::AlignLeft,
             timeText(first));
  g.drawText(QRectF(plot.left(), plot.bottom() + 4, plot.width(), 16), Qt::AlignRight,
             timeText(last));
  // The threshold.
  const double threshold = yOf(history_.thresholdMb);
  g.setPen(QPen(QColor(204, 0, 0), 1.5, Qt::DashLine));
  g.drawLine(QPointF(plot.left(), threshold), QPointF(plot.right(), threshold));
  g.drawText(QRectF(plot.left() + 4, threshold - 18, plot.width(), 16), Qt::AlignLeft,
             QStringLiteral("しきい値 %1 MB").arg(history_.thresholdMb));
  // The readings.
  QPainterPath line;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const QPointF at(xOf(i), yOf(points[i].freeMb));
    if (i == 0)
      line.moveTo(at);
    else
      line.lineTo(at);
  }
  g.setPen(QPen(QColor(0, 70, 160), 2));
  g.drawPath(line);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const bool chosen = points[i].place == older_ || points[i].place == newer_;
    const QPointF at(xOf(i), yOf(points[i].freeMb));
    g.setBrush(points[i].freeMb <= history_.thresholdMb ? QColor(204, 0, 0) : QColor(0, 70, 160));
    g.drawEllipse(at, chosen ? 5.0 : 3.0, chosen ? 5.0 : 3.0);
  }
}

}  // namespace orvis::ui
