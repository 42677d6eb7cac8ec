// Where the settings window goes beside the main window, on screens of the
// sizes users have, alone and side by side with others.
#include "control/window_placement.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

int Overlap(const ScreenRect& a, const ScreenRect& b) {
  const int width = std::min(a.right(), b.right()) - std::max(a.x, b.x);
  const int height = std::min(a.bottom(), b.bottom()) - std::max(a.y, b.y);
  return width > 0 && height > 0 ? width * height : 0;
}

bool Inside(const ScreenRect& window, const ScreenRect& screen) {
  return window.x >= screen.x && window.y >= screen.y && window.right() <= screen.right() &&
         window.bottom() <= screen.bottom();
}

TEST(WindowPlacementTest, StandsBesideWhereThereIsRoomElseCoversLeastAndStaysOnScreen) {
  // A main window frame of 705 by 605 and a settings window of 640 by 700.
  constexpr int kWidth = 640, kHeight = 700;
  struct Case {
    const char* what;
    std::vector<ScreenRect> screens;
    ScreenRect main;
    ScreenRect main_after;
    ScreenRect settings;
    int main_least_width = 0;
  };
  const ScreenRect full_hd{0, 0, 1600, 1000};
  const Case cases[] = {
      {"1600x1000, room on the right",
       {full_hd},
       {100, 50, 705, 605},
       {100, 50, 705, 605},
       {805, 50, kWidth, kHeight}},
      {"1600x1000, room on the left only",
       {full_hd},
       {880, 50, 705, 605},
       {880, 50, 705, 605},
       {240, 50, kWidth, kHeight}},
      {"1600x1000, low main window: tops as level as the screen allows",
       {full_hd},
       {100, 500, 705, 400},
       {100, 500, 705, 400},
       {805, 300, kWidth, kHeight}},
      {"1600x1000, centred: the main window makes room",
       {full_hd},
       {447, 197, 705, 605},
       {255, 197, 705, 605},
       {960, 197, kWidth, kHeight}},
      {"1366x768, panel at the top: the main window makes room",
       {{0, 28, 1366, 740}},
       {330, 80, 705, 605},
       {21, 80, 705, 605},
       {726, 68, kWidth, kHeight}},
      {"1024x768: at the right edge, the main window at the left",
       {{0, 0, 1024, 768}},
       {150, 60, 705, 605},
       {0, 60, 705, 605},
       {384, 68, kWidth, kHeight}},
      {"1280x720, the main window may narrow: it gives up just the width needed",
       {{0, 0, 1280, 720}},
       {150, 10, 705, 605},
       {0, 10, 640, 605},
       {640, 10, kWidth, kHeight},
       528},
      {"1024x768, narrowing would go below the least width: covers least instead",
       {{0, 0, 1024, 768}},
       {150, 60, 705, 605},
       {0, 60, 705, 605},
       {384, 68, kWidth, kHeight},
       528},
      {"second screen to the right",
       {full_hd, {1600, 0, 1920, 1080}},
       {1700, 30, 705, 605},
       {1700, 30, 705, 605},
       {2405, 30, kWidth, kHeight}},
      {"second screen to the left, at negative coordinates",
       {{-1366, 200, 1366, 768}, full_hd},
       {-1300, 250, 705, 605},
       {-1345, 250, 705, 605},
       {-640, 250, kWidth, kHeight}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const WindowPlacement placed =
        PlaceSettingsWindow(c.main, kWidth, kHeight, c.screens, c.main_least_width);
    EXPECT_EQ(placed.main, c.main_after);
    EXPECT_EQ(placed.settings, c.settings);
  }
}

TEST(WindowPlacementTest, WithoutRoomForBothNoOtherPlaceOnScreenCoversLess) {
  const ScreenRect screen{0, 0, 1024, 768};
  const ScreenRect main{150, 60, 705, 605};
  const WindowPlacement placed = PlaceSettingsWindow(main, 640, 700, {screen});
  ASSERT_TRUE(Inside(placed.settings, screen));
  const int covered = Overlap(placed.settings, placed.main);
  for (int x = 0; x + 640 <= 1024; x += 8) {
    for (int y = 0; y + 700 <= 768; y += 4) {
      EXPECT_GE(Overlap({x, y, 640, 700}, main), covered) << x << "," << y;
    }
  }
}

TEST(WindowPlacementTest, AWindowLargerThanTheScreenKeepsItsTopLeftCornerOnScreen) {
  const ScreenRect screen{0, 0, 800, 600};
  const WindowPlacement placed = PlaceSettingsWindow({20, 20, 705, 605}, 900, 700, {screen});
  EXPECT_EQ(placed.settings.x, 0);
  EXPECT_EQ(placed.settings.y, 0);
}

}  // namespace
}  // namespace qv
