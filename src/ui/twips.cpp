#include "ui/twips.h"

#include <QWidget>
#include <cmath>

namespace qv {

int TwipsToPixels(int twips, double dots_per_inch) {
  return static_cast<int>(std::lround(twips * dots_per_inch / kTwipsPerInch));
}

QSize TwipsToPixels(QSize twips, double dots_per_inch) {
  return {TwipsToPixels(twips.width(), dots_per_inch),
          TwipsToPixels(twips.height(), dots_per_inch)};
}

QRect TwipsToPixels(QRect twips, double dots_per_inch) {
  return {QPoint(TwipsToPixels(twips.x(), dots_per_inch), TwipsToPixels(twips.y(), dots_per_inch)),
          TwipsToPixels(twips.size(), dots_per_inch)};
}

double ScreenDotsPerInch(const QWidget& widget) {
  return widget.logicalDpiX();
}

}  // namespace qv
