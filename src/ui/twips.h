// Window measures given in twips (1/1440 inch) turned into the screen's pixels.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace qv {

inline constexpr int kTwipsPerInch = 1440;

// `twips` in pixels at `dots_per_inch`, to the nearest pixel: 15 twips make
// one pixel at 96.
int TwipsToPixels(int twips, double dots_per_inch);

QSize TwipsToPixels(QSize twips, double dots_per_inch);
QRect TwipsToPixels(QRect twips, double dots_per_inch);

// The logical dots per inch of the screen `widget` shows on.
double ScreenDotsPerInch(const QWidget& widget);

}  // namespace qv
