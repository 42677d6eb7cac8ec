// The program folder the window tests start the program in, the same for the
// Qt and the Windows windows: small templates whose page shows the title, the
// title size and the update line, a Favorites folder with one category, and
// a settings file that names it.
#pragma once

#include <string>

#include "support/temp_folder.h"

namespace qv::testing {

// Writes the templates and "Favorites/Cats/Tabby.url" into `folder`.
void WriteSmallProgram(const TempFolder& folder);

// Writes "ins.txt" naming the Favorites folder of `folder`, with
// `language_line` as its last line.
void WriteSmallSettingsFile(const TempFolder& folder, const std::string& language_line);

// Line `index` (from 0) of `text`, whose lines end in CR LF; empty past its end.
std::string CrLfLine(const std::string& text, int index);

}  // namespace qv::testing
