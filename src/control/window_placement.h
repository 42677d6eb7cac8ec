// Where the settings window goes on first showing: beside the main window,
// never over it where the screen has room for both, and always on screen.
// Plain rectangles in screen pixels, so the rule can be checked without a
// display.
#pragma once

#include <vector>

namespace qv {

struct ScreenRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  int right() const { return x + width; }  // one past the last column
  int bottom() const { return y + height; }
  bool operator==(const ScreenRect&) const = default;
};

struct WindowPlacement {
  ScreenRect main;      // the main window's frame, moved only to make room
  ScreenRect settings;  // the settings window's frame
};

// Places a settings window frame of `settings_width` by `settings_height`
// beside `main` (the main window's frame) on the screen of `screens` (their
// available areas) that holds most of `main`:
// - to its right, else to its left, top edges level as far as the screen allows;
// - else, when the screen is wide enough for both side by side, the main
//   window moves left just far enough to make room on its right;
// - else, when the main window narrowed to no less than `main_least_width`
//   leaves room for both, it narrows just that far, at the screen's left edge;
// - else where it covers the least of the main window, fully on screen (its
//   top-left corner on screen when it is larger than the screen); the main
//   window goes to the screen's left edge when that uncovers more of it.
// A `main_least_width` of 0 keeps the main window's width.
WindowPlacement PlaceSettingsWindow(const ScreenRect& main, int settings_width, int settings_height,
                                    const std::vector<ScreenRect>& screens,
                                    int main_least_width = 0);

}  // namespace qv
