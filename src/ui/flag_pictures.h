// The two flag pictures of the settings window, drawn rather than loaded.
#pragma once

#include <QPixmap>
#include <QSize>

namespace qv {

inline constexpr QSize kDutchFlagSize(101, 46);
inline constexpr QSize kBritishFlagSize(100, 46);

// Red, white and blue in three equal stripes, `scale` times the flag size, for
// a screen of `pixel_ratio` device pixels to a pixel.
QPixmap DutchFlag(double scale, double pixel_ratio);

// Blue field, the white-edged red cross and the counterchanged diagonals.
QPixmap BritishFlag(double scale, double pixel_ratio);

}  // namespace qv
