// The two flags of the settings window, drawn rather than loaded, at any size.
#pragma once

#include "generator/windows_api.h"

namespace qv::winui {

// Their size on a 96 dots-per-inch screen.
inline constexpr SIZE kDutchFlagSize = {101, 46};
inline constexpr SIZE kBritishFlagSize = {100, 46};

// Red, white and blue in three equal stripes, filling `area` of `dc`.
void DrawDutchFlag(HDC dc, const RECT& area);

// Blue field, the white-edged red cross and the counterchanged diagonals,
// filling `area` of `dc`.
void DrawBritishFlag(HDC dc, const RECT& area);

}  // namespace qv::winui
