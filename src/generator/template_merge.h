// The template merge: turns the intermediate page into the final page by
// putting the user's colours, texts, language lines and the update line in
// place of the defaults and placeholders.
#pragma once

#include <string>

#include "generator/file_system.h"
#include "generator/page_values.h"
#include "generator/status.h"
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

// Reads the intermediate page at `intermediate_path` line by line and writes
// the merged lines into `page`, which the caller closes. Reports an
// intermediate page that cannot be read or a failed write.
Status MergePage(const std::string& intermediate_path, WritableFile& page,
                 const MergeSources& sources);

}  // namespace qv
