// Everything the program keeps between events: the settings, the interface
// language and which title-size button is selected. The generation run reads
// and writes it; the windows show it.
#pragma once

#include <cstdint>

#include "settings/language.h"
#include "settings/settings.h"

namespace qv {

struct ProgramState {
  Settings settings = DefaultSettings();
  std::int16_t language_code = kEnglishLanguageCode;  // as read; see LanguageOfCode
  int selected_title_size = kNoTitleSizeOption;       // 0..4 or none
};

}  // namespace qv
