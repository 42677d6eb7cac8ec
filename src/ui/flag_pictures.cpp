#include "ui/flag_pictures.h"

#include <QColor>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <cmath>

namespace qv {
namespace {

// Painted in the screen's own pixels; Finish marks them as such, so that the
// picture shows at its size without blurring on a dense screen.
QPixmap BlankPicture(QSize size, double scale, double pixel_ratio) {
  return QPixmap(size * scale * pixel_ratio);
}

void Finish(QPixmap& picture, QPainter& painter, double pixel_ratio) {
  painter.end();
  picture.setDevicePixelRatio(pixel_ratio);
}

// One arm of the red diagonal cross: from the centre towards `corner`, moved
// half its width off the white diagonal to the side that makes the four arms
// turn like a pinwheel, and clipped to the quarter of the field it lies in.
void DrawRedDiagonalArm(QPainter& painter, QPointF centre, QPointF corner, double width) {
  const QLineF arm(centre, corner);
  const QLineF along = arm.unitVector();
  const QPointF direction = along.p2() - along.p1();
  const QPointF shift = QPointF(direction.y(), -direction.x()) * (width / 2);
  painter.save();
  painter.setClipRect(QRectF(centre, corner).normalized());
  painter.setPen(QPen(QColor(0xC8, 0x10, 0x2E), width, Qt::SolidLine, Qt::FlatCap));
  const QPointF reach = direction * width;  // run past both ends; the clip cuts it
  painter.drawLine(QLineF(centre - reach + shift, corner + reach + shift));
  painter.restore();
}

}  // namespace

QPixmap DutchFlag(double scale, double pixel_ratio) {
  QPixmap picture = BlankPicture(kDutchFlagSize, scale, pixel_ratio);
  QPainter painter(&picture);
  const double width = picture.width();
  const double stripe = picture.height() / 3.0;
  painter.fillRect(QRectF(0, 0, width, stripe), QColor(0xAE, 0x1C, 0x28));
  painter.fillRect(QRectF(0, stripe, width, stripe), Qt::white);
  painter.fillRect(QRectF(0, 2 * stripe, width, picture.height() - 2 * stripe),
                   QColor(0x21, 0x46, 0x8B));
  Finish(picture, painter, pixel_ratio);
  return picture;
}

QPixmap BritishFlag(double scale, double pixel_ratio) {
  QPixmap picture = BlankPicture(kBritishFlagSize, scale, pixel_ratio);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const double w = picture.width();
  const double h = picture.height();
  const double unit = h / 30.0;  // the flag's own measure: the height is 30 units
  const QPointF centre(w / 2, h / 2);
  painter.fillRect(picture.rect(), QColor(0x01, 0x21, 0x69));

  painter.setPen(QPen(Qt::white, 6 * unit, Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(QLineF(0, 0, w, h));
  painter.drawLine(QLineF(0, h, w, 0));

  // Counterchanged: in the upper left quarter the red lies below the white.
  const double red = 2 * unit;
  for (QPointF corner : {QPointF(0, 0), QPointF(w, 0), QPointF(w, h), QPointF(0, h)}) {
    DrawRedDiagonalArm(painter, centre, corner, red);
  }

  const double white_cross = 10 * unit;
  const double red_cross = 6 * unit;
  painter.fillRect(QRectF(0, (h - white_cross) / 2, w, white_cross), Qt::white);
  painter.fillRect(QRectF((w - white_cross) / 2, 0, white_cross, h), Qt::white);
  painter.fillRect(QRectF(0, (h - red_cross) / 2, w, red_cross), QColor(0xC8, 0x10, 0x2E));
  painter.fillRect(QRectF((w - red_cross) / 2, 0, red_cross, h), QColor(0xC8, 0x10, 0x2E));
  Finish(picture, painter, pixel_ratio);
  return picture;
}

}  // namespace qv
