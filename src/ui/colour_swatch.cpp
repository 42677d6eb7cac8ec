#include "ui/colour_swatch.h"

#include <QPainter>

namespace qv {

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::Box);
}

void ColourSwatch::ShowColour(std::optional<QColor> colour) {
  if (colour == colour_) return;
  colour_ = colour;
  update();
}

void ColourSwatch::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect inside = contentsRect();
  // A colour with transparency shows over white, as on a light page.
  painter.fillRect(inside, Qt::white);
  if (colour_) {
    painter.fillRect(inside, *colour_);
  } else {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(200, 0, 0), 2));
    painter.drawLine(inside.topLeft(), inside.bottomRight());
    painter.drawLine(inside.topRight(), inside.bottomLeft());
  }
  painter.end();
  QFrame::paintEvent(event);
}

}  // namespace qv
