// The screen as the user sees it, through a connection of its own to the X
// display: what a benchmark watches for the end of what it times. Kept apart
// because the X headers define names (Status, Bool) the program uses.
#pragma once

#include <memory>

namespace qv::bench {

class ScreenProbe {
 public:
  ScreenProbe();
  ~ScreenProbe();
  ScreenProbe(const ScreenProbe&) = delete;
  ScreenProbe& operator=(const ScreenProbe&) = delete;

  // False when there is no display to watch.
  bool ok() const;

  // Pixels of `rgb` (0xRRGGBB) on three lines across the screen, at 40, 55
  // and 70 per cent of its height.
  int CountOnLines(unsigned long rgb);

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
};

}  // namespace qv::bench
