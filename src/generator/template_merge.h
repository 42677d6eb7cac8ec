// The template merge: puts the user's colours, texts, language lines and the
// update line in place of the defaults and placeholders of a template line.
#pragma once

#include <string>

#include "generator/page_values.h"
#include "generator/types.h"

namespace qv {

// How the line "@#$UPDATE@#$" reads: with the date in English or Dutch order
// and words, or left as it stands.
enum class UpdateLineStyle { kEnglish, kDutch, kLeftAsIs };

struct MergeSources {
  const PageTexts& texts;
  const PageColours& colours;
  const LanguageLines& language_lines;
  UpdateLineStyle update_line;
  CalendarDate today;
};

// Applies the eighteen substitution steps, in order, to one line.
std::string MergeLine(std::string line, const MergeSources& sources);

}  // namespace qv
