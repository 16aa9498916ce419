#include "desktop/app_icon.h"

#include <QPainter>
#include <QPen>

namespace torvane {

QPixmap AppIconImage(int size) {
  QPixmap image(size, size);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  const qreal unit = size / 16.0;
  painter.scale(unit, unit);

  // The sheet.
  painter.setPen(QPen(Qt::darkGray, 1.0));
  painter.setBrush(Qt::white);
  painter.drawRect(QRectF(0.5, 0.5, 15.0, 15.0));

  // Survey grid: X points up (north), Y to the right, as surveyors draw it.
  painter.setPen(QPen(Qt::darkBlue, 1.0));
  painter.drawLine(QPointF(3.5, 13.5), QPointF(3.5, 2.0));
  painter.drawLine(QPointF(3.5, 13.5), QPointF(14.0, 13.5));
  painter.drawLine(QPointF(2.0, 4.0), QPointF(3.5, 2.0));
  painter.drawLine(QPointF(5.0, 4.0), QPointF(3.5, 2.0));

  // Construction grid: the same axes turned by thirty degrees about a
  // shifted origin.
  painter.translate(7.0, 10.5);
  painter.rotate(30.0);
  painter.setPen(QPen(Qt::red, 1.0));
  painter.drawLine(QPointF(0.0, 0.0), QPointF(0.0, -8.0));
  painter.drawLine(QPointF(0.0, 0.0), QPointF(6.5, 0.0));
  painter.drawLine(QPointF(-1.5, -6.0), QPointF(0.0, -8.0));
  painter.drawLine(QPointF(1.5, -6.0), QPointF(0.0, -8.0));
  painter.end();
  return image;
}

QIcon AppIcon() {
  QIcon icon;
  icon.addPixmap(AppIconImage(16));
  icon.addPixmap(AppIconImage(32));
  return icon;
}

}  // namespace torvane
