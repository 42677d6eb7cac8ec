// The settings file "ins.txt": nineteen lines, the four colour codes, the
// fourteen texts and the language code, one value a line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "generator/status.h"
#include "settings/program_state.h"

namespace qv {

inline constexpr const char* kSettingsFileName = "ins.txt";
inline constexpr int kSettingsLineCount = 19;

// The longest value kept from a line of the settings file. The settings
// window's fields hold at most 32,767 characters (128 KiB in UTF-8); a file
// written by hand gets ample room beyond that, and a damaged one cannot fill
// the memory.
inline constexpr std::size_t kLongestSettingsLine = 1 << 20;

// The page file name from the page file name field: the text as typed,
// blanks kept; "mijnstart.html" when it is blank, and also when it is not a
// plain file name of its own (it names a folder part, "." or "..", is longer
// than file systems take, or is one of the program's own files or a run's
// temporary files), so that no run writes or deletes anything else.
std::string PageFileNameFrom(std::string_view page_file_field);

// Why PageFileNameFrom passes over a page file name field that is not blank;
// kNone when the name is used as typed, or when it is blank and so asks for
// the usual name.
enum class PageNameRefusal { kNone, kNotAPlainName, kProgramsOwnName };
PageNameRefusal PageFileNameRefusal(std::string_view page_file_field);
// The refusal in a few words, for a line of text; empty for kNone.
const char* RefusalReason(PageNameRefusal refusal);

// The nineteen lines as they are written, CR LF after each. A line break
// inside a value is written as one blank.
std::string FormatSettings(const Settings& settings, std::int16_t language_code);

// Writes "ins.txt" in `app_folder` from `state`, replacing the old file in one
// step. On failure the old file stays whole and the reason names the file.
// An old file that is there but cannot be read is not replaced: what it
// holds would be lost unseen.
Status SaveSettings(const ProgramState& state, const std::string& app_folder);

// The change rule of a text field: the search description and keywords are
// upper-cased.
void ApplyFieldChangeRule(Settings& settings, TextField field);

// Selects title-size button `option` (0..4): the title size becomes its
// caption.
void SelectTitleSizeOption(ProgramState& state, int option);

// Reads "ins.txt" from `app_folder` into `state` when it exists: the values,
// the fields' change rules, the language code, the title-size repair and the
// selected button. Fields past the end of a short file keep their texts.
// A failure says why nothing was read (no settings file, or it cannot be
// opened; `state` is untouched then), or why the file broke off while read
// (the lines before that were taken).
Status LoadSettings(ProgramState& state, const std::string& app_folder);

// True when `app_folder` holds a settings file, readable or not.
bool HasSettingsFile(const std::string& app_folder);

}  // namespace qv
