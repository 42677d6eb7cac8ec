#include "settings/language.h"

namespace qv {

Language LanguageOfCode(std::int16_t code) {
  return code == kDutchLanguageCode ? Language::kDutch : Language::kEnglish;
}

std::int16_t LanguageCodeOf(Language language) {
  return language == Language::kDutch ? kDutchLanguageCode : kEnglishLanguageCode;
}

const char* LanguageFileName(Language language) {
  return language == Language::kDutch ? kDutchLanguageFileName : kEnglishLanguageFileName;
}

UpdateLineStyle UpdateLineStyleOfCode(std::int16_t code) {
  if (code == kDutchLanguageCode) return UpdateLineStyle::kDutch;
  if (code == kEnglishLanguageCode) return UpdateLineStyle::kEnglish;
  return UpdateLineStyle::kLeftAsIs;
}

}  // namespace qv
