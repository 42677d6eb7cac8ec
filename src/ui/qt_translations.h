// Qt's own words (the file and folder dialogs, their buttons, the standard
// buttons of message boxes) in the language the windows show: Qt's Dutch
// translations while the windows are Dutch, Qt's built-in English otherwise.
#pragma once

#include <QTranslator>
#include <memory>

#include "settings/language.h"

namespace qv {

class QtTranslations {
 public:
  QtTranslations();
  ~QtTranslations();
  QtTranslations(const QtTranslations&) = delete;
  QtTranslations& operator=(const QtTranslations&) = delete;

  // Loads and installs Qt's translations of `language`; false when they are
  // not on this system (Qt's words then stay English).
  bool Show(Language language);

 private:
  std::unique_ptr<QTranslator> translator_;
  bool installed_ = false;
};

}  // namespace qv
