// The controls of the settings window, made in reading order, which is the
// order Tab goes through them: the colour groups row by row (code, default
// button, sliders), the fields (the folder chooser after the Favorites
// folder, the title-size buttons after their field), then the buttons, the
// maker's link and the flags.
#pragma once

#include <string>

#include "generator/windows_api.h"

namespace qv::winui {

// Makes every control of the settings window in `window`, empty and without a
// place yet; returns the tooltip control that explains some of them.
HWND MakeSettingsControls(HWND window);

// Gives `control` of `window` the tip `text` (UTF-8) in `tooltip`.
void SetTip(HWND tooltip, HWND window, int control, const std::string& text);

// The tip `tooltip` gives `control` of `window`.
std::string TipOf(HWND tooltip, HWND window, int control);

}  // namespace qv::winui
