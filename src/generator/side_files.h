// The fixed names of the files that live in the program folder.
#pragma once

namespace qv {

inline constexpr const char* kSettingsFileName = "ins.txt";
inline constexpr const char* kHeaderTemplateName = "koptekst.txt";
inline constexpr const char* kFooterTemplateName = "voettekst.txt";
inline constexpr const char* kDutchLanguageFileName = "nl.txt";
inline constexpr const char* kEnglishLanguageFileName = "uk.txt";
inline constexpr const char* kOptionFileName = "option.txt";
inline constexpr const char* kIntermediateFileName = "mijnstart.tmp";

}  // namespace qv
