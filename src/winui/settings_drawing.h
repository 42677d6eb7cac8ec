// What the settings window draws itself: the swatches, the mark on a
// Favorites folder that is not there, the maker's link, the flags, and the
// frames round the sliders.
#pragma once

#include <optional>

#include "control/page_colour.h"
#include "generator/windows_api.h"
#include "winui/settings_layout.h"

namespace qv::winui {

// `colour` over white, as on a light page, in a box; none draws a red cross.
void DrawSwatch(HDC dc, const RECT& area, const std::optional<Rgba>& colour);

void DrawMissingMark(HDC dc, const RECT& area);

// `caption` as a link, in `font`; with the focus frame when `focused`.
void DrawLink(HDC dc, const RECT& area, const wchar_t* caption, HFONT font, bool focused);

// The flag of the button `id` (kDutchFlagId or kBritishFlagId).
void DrawFlag(HDC dc, const RECT& area, int id, bool focused);

// The frames round each colour group's sliders and the line under the groups.
void DrawFrames(HDC dc, const SettingsLayout& layout);

}  // namespace qv::winui
