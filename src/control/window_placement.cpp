#include "control/window_placement.h"

#include <algorithm>

namespace qv {
namespace {

int OverlapArea(const ScreenRect& a, const ScreenRect& b) {
  const int width = std::min(a.right(), b.right()) - std::max(a.x, b.x);
  const int height = std::min(a.bottom(), b.bottom()) - std::max(a.y, b.y);
  return width > 0 && height > 0 ? width * height : 0;
}

// `start` moved so that `length` fits between `low` and `high`; the low edge
// wins when it cannot.
int Clamp(int start, int length, int low, int high) {
  return std::max(low, std::min(start, high - length));
}

const ScreenRect& ScreenOf(const ScreenRect& main, const std::vector<ScreenRect>& screens) {
  const ScreenRect* best = &screens.front();
  for (const ScreenRect& screen : screens) {
    if (OverlapArea(main, screen) > OverlapArea(main, *best)) best = &screen;
  }
  return *best;
}

bool Fits(const ScreenRect& window, const ScreenRect& screen) {
  return window.x >= screen.x && window.y >= screen.y && window.right() <= screen.right() &&
         window.bottom() <= screen.bottom();
}

// Tries the screen's edges and the main window's sides, all kept on screen,
// and takes the first of those that hide the least of `main`.
ScreenRect LeastCovering(const ScreenRect& main, int width, int height, const ScreenRect& screen) {
  const int xs[] = {main.right(), main.x - width, screen.right() - width, screen.x};
  const int ys[] = {main.y, main.bottom(), main.y - height, screen.bottom() - height, screen.y};
  ScreenRect best{};
  int best_overlap = -1;
  for (const int x : xs) {
    for (const int y : ys) {
      const ScreenRect candidate{Clamp(x, width, screen.x, screen.right()),
                                 Clamp(y, height, screen.y, screen.bottom()), width, height};
      const int overlap = OverlapArea(candidate, main);
      if (best_overlap < 0 || overlap < best_overlap) {
        best = candidate;
        best_overlap = overlap;
      }
    }
  }
  return best;
}

}  // namespace

WindowPlacement PlaceSettingsWindow(const ScreenRect& main, int settings_width, int settings_height,
                                    const std::vector<ScreenRect>& screens, int main_least_width) {
  if (screens.empty()) return {main, {main.right(), main.y, settings_width, settings_height}};
  const ScreenRect& screen = ScreenOf(main, screens);
  const int level_y = Clamp(main.y, settings_height, screen.y, screen.bottom());
  const ScreenRect right{main.right(), level_y, settings_width, settings_height};
  if (Fits(right, screen)) return {main, right};
  const ScreenRect left{main.x - settings_width, level_y, settings_width, settings_height};
  if (Fits(left, screen)) return {main, left};

  if (main.width + settings_width <= screen.width && settings_height <= screen.height) {
    ScreenRect moved = main;
    moved.x = Clamp(main.x, main.width + settings_width, screen.x, screen.right());
    return {moved, {moved.right(), level_y, settings_width, settings_height}};
  }

  const int narrowed_width = screen.width - settings_width;
  if (main_least_width > 0 && narrowed_width >= main_least_width &&
      settings_height <= screen.height) {
    const ScreenRect narrowed{screen.x, main.y, narrowed_width, main.height};
    return {narrowed, {narrowed.right(), level_y, settings_width, settings_height}};
  }

  // No room for both: the main window goes to the screen's left edge when
  // that uncovers more of it, and the settings window where it hides the least.
  WindowPlacement placement{main, LeastCovering(main, settings_width, settings_height, screen)};
  ScreenRect moved = main;
  moved.x = screen.x;
  const ScreenRect beside_moved = LeastCovering(moved, settings_width, settings_height, screen);
  if (OverlapArea(beside_moved, moved) < OverlapArea(placement.settings, main)) {
    placement = {moved, beside_moved};
  }
  return placement;
}

}  // namespace qv
