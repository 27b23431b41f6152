#include "app/cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 32;

void DrawRotate(QPainter& p) {
  p.drawArc(QRect(6, 6, 20, 20), 30 * 16, 300 * 16);
  p.drawLine(24, 6, 26, 12);
  p.drawLine(26, 12, 20, 12);
}

void DrawScale(QPainter& p) {
  p.drawLine(6, 26, 26, 6);
  p.drawLine(26, 6, 18, 6);
  p.drawLine(26, 6, 26, 14);
  p.drawLine(6, 26, 14, 26);
  p.drawLine(6, 26, 6, 18);
}

void DrawMove(QPainter& p) {
  p.drawLine(16, 3, 16, 29);
  p.drawLine(3, 16, 29, 16);
  for (auto [x, y, dx, dy] : {std::array{16, 3, 1, 1}, {16, 29, 1, -1}, {3, 16, 1, 1}, {29, 16, -1, 1}}) {
    if (x == 16) {
      p.drawLine(x, y, x - 4, y + 4 * dy);
      p.drawLine(x, y, x + 4, y + 4 * dy);
    } else {
      p.drawLine(x, y, x + 4 * dx, y - 4);
      p.drawLine(x, y, x + 4 * dx, y + 4);
    }
  }
}

void DrawDropper(QPainter& p) {
  p.drawLine(2, 30, 18, 14);
  p.drawEllipse(QRect(18, 4, 10, 10));
}

}  // namespace

QCursor MakeCustomCursor(const QString& name) {
  QPixmap picture(kSize, kSize);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  for (const auto& [colour, width] : {std::pair{QColor(Qt::black), 4}, {QColor(Qt::white), 2}}) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    if (name == "ROTATE") DrawRotate(p);
    else if (name == "SCALE") DrawScale(p);
    else if (name == "MOVE") DrawMove(p);
    else DrawDropper(p);
  }
  p.end();
  const QPoint hotSpot = name == "DROPPER" ? QPoint(2, 30) : QPoint(16, 16);
  return QCursor(picture, hotSpot.x(), hotSpot.y());
}
