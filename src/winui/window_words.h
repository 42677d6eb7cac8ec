// The words the Win32 windows need beyond the captions they share with every
// window layer, in the language of a caption set.
#pragma once

#include "control/captions.h"

namespace qv::winui {

struct WindowWords {
  // The preview cannot show the page; "{}" stands for why.
  const char* preview_failed;
  const char* no_web_control;
  // "{}" stands for the web control's error code.
  const char* load_failed;
  // The import button of a build without the import.
  const char* import_left_out;
  const char* ok;
  const char* cancel;
};

// The words in the language of `captions`; the created set is Dutch.
const WindowWords& WindowWordsFor(const CaptionSet& captions);

}  // namespace qv::winui
