// The captions of both windows in the three sets they can show: the set the
// windows are created with, the Dutch set and the English set.
#pragma once

#include <array>

#include "generator/types.h"

namespace qv {

struct CaptionSet {
  std::array<const char*, kFieldCount> lab;  // the labels of T(0)..T(13)
  const char* red;                           // Label1(0..3)
  const char* green;                         // Label2(0..3)
  const char* blue;                          // Label3(0..3)
  const char* refresh;                       // Command1
  const char* standard;                      // Command2(0..3)
  const char* settings_title;                // Form2
  const char* main_title;                    // Form1
};

enum class Language { kDutch, kEnglish };

// LanguageCode values the switch sets.
inline constexpr int kDutchLanguageCode = 1;
inline constexpr int kEnglishLanguageCode = 0;

extern const CaptionSet kCreatedCaptions;
extern const CaptionSet kDutchCaptions;
extern const CaptionSet kEnglishCaptions;

const CaptionSet& CaptionsOf(Language language);

// Dutch for LanguageCode 1, English for any other value.
Language LanguageOfCode(int language_code);

int LanguageCodeOf(Language language);

}  // namespace qv
