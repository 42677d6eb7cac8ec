// The settings file "ins.txt": nineteen lines, the four colour codes, the
// fourteen texts and the language code, one value a line.
#pragma once

#include <string>
#include <string_view>

#include "generator/status.h"
#include "generator/types.h"

namespace qv {

inline constexpr int kSettingsLineCount = 19;

// The page file name from the text of T(1): the text as typed, blanks kept;
// "mijnstart.html" when it is blank, and also when it is not a plain file
// name of its own (it names a folder part, "." or "..", or one of the
// program's own files), so that no run writes or deletes anything else.
std::string PageFileNameFrom(std::string_view page_file_field);

// The nineteen lines as they are written, CR LF after each. A line break
// inside a value is written as one blank.
std::string FormatSettings(const Settings& settings, std::int16_t language_code);

// Writes "ins.txt" in `app_folder` from `state`, replacing the old file in one
// step, then refreshes PageFileName. On failure the old file stays whole,
// PageFileName is left alone and the reason names the file.
Status SaveSettings(ProgramState& state, const std::string& app_folder);

// The change rule of text field `field`: T(11) and T(12) are upper-cased.
void ApplyFieldChangeRule(Settings& settings, int field);

// Selects title-size button `option` (0..4): T(13) becomes its caption.
void SelectTitleSizeOption(ProgramState& state, int option);

// Reads "ins.txt" from `app_folder` into `state` when it exists: the values,
// the fields' change rules, LanguageCode, the title-size repair and the
// selected button. Fields past the end of a short file keep their texts.
// Returns false when there was no settings file.
bool LoadSettings(ProgramState& state, const std::string& app_folder);

}  // namespace qv
