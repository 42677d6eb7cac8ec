// The windows are laid out in pixels of a 96 dots-per-inch screen and scaled
// to the dots per inch of the screen they show on, which may change while
// they show (the process is aware of each screen's own scale).
#pragma once

#include "generator/windows_api.h"

namespace qv::winui {

inline constexpr int kDesignDotsPerInch = 96;

// The dots per inch of the screen that `window` shows on.
int DotsPerInchOf(HWND window);

// `design_pixels` at `dots_per_inch`.
inline int Scaled(int design_pixels, int dots_per_inch) {
  return MulDiv(design_pixels, dots_per_inch, kDesignDotsPerInch);
}

// The frame size that gives a window of `style` the client size
// `client_width` by `client_height` at `dots_per_inch`.
SIZE FrameSizeFor(int client_width, int client_height, DWORD style, DWORD ex_style,
                  int dots_per_inch);

// The desktop's font for dialogs and messages, at `dots_per_inch`; the caller
// deletes it. `underlined` gives the same font underlined.
HFONT NewMessageFont(int dots_per_inch, bool underlined = false);

}  // namespace qv::winui
