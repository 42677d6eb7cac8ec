// The interface language and everything its code selects: the captions, the
// language file of the page and the words of the page's update line.
#pragma once

#include <cstdint>

#include "generator/template_merge.h"

namespace qv {

enum class Language { kDutch, kEnglish };

// The codes the language switch sets; a settings file may hold any other.
inline constexpr std::int16_t kDutchLanguageCode = 1;
inline constexpr std::int16_t kEnglishLanguageCode = 0;

inline constexpr const char* kDutchLanguageFileName = "nl.txt";
inline constexpr const char* kEnglishLanguageFileName = "uk.txt";

// Dutch for code 1, English for every other code.
Language LanguageOfCode(std::int16_t code);

std::int16_t LanguageCodeOf(Language language);

// "nl.txt" or "uk.txt".
const char* LanguageFileName(Language language);

// The update line follows the code itself: English words for 0, Dutch for 1,
// and for any other code the line stays as the template has it (until a
// language switch sets 0 or 1).
UpdateLineStyle UpdateLineStyleOfCode(std::int16_t code);

}  // namespace qv
