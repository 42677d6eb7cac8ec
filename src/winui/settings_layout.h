// Where the settings window's controls go: the colour groups in four rows at
// the top, a line, the fields with their labels, and the row of buttons,
// link and flags at the bottom. Every caption is given the room its longest
// language needs, so that the window neither grows nor jumps when the
// language changes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "generator/windows_api.h"

namespace qv::winui {

struct SettingsMeasures {
  int dots_per_inch = 96;
  int text_height = 0;         // a line of the window's font, in pixels
  int average_char_width = 0;  // in pixels
  // The width of `text` (UTF-8) in the window's font, in pixels.
  std::function<int(const std::string& text)> text_width;
};

struct ControlPlace {
  int id;
  RECT rect;  // in the window's client area
};

struct SettingsLayout {
  std::vector<ControlPlace> controls;  // every control, by its identifier
  std::vector<RECT> frames;            // drawn round each colour group's sliders
  RECT rule = {};                      // the line under the colour groups
  SIZE client = {};
};

SettingsLayout LayOutSettingsWindow(const SettingsMeasures& measures);

}  // namespace qv::winui
