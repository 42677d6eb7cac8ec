// The screen as the user sees it, through an X connection of the bench's own:
// what a benchmark watches for the end of what it times. Reading it costs the
// program's threads nothing.
#pragma once

#include <string>
#include <vector>

struct xcb_connection_t;

namespace qv::bench {

// A rectangle of the screen, in pixels from its top left corner.
struct ScreenArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

class ScreenProbe {
 public:
  ScreenProbe();
  ~ScreenProbe();
  ScreenProbe(const ScreenProbe&) = delete;
  ScreenProbe& operator=(const ScreenProbe&) = delete;

  // False when there is no display to watch.
  bool ok() const { return root_ != 0; }

  // The pixels of `areas`, one area after the other, four bytes each (blue,
  // green, red, unused); the requests go out together, so that one round
  // trip reads them all.
  std::string Read(const std::vector<ScreenArea>& areas);

  // Pixels of `rgb` (0xRRGGBB) on three lines across the screen, at 40, 55
  // and 70 per cent of its height.
  int CountOnLines(unsigned long rgb);

 private:
  xcb_connection_t* connection_;
  unsigned root_ = 0;  // the root window
  int width_ = 0;
  int height_ = 0;
};

}  // namespace qv::bench
