// The fixed names of the generator's files in the program folder.
#pragma once

namespace qv {

inline constexpr const char* kHeaderTemplateName = "koptekst.txt";
inline constexpr const char* kFooterTemplateName = "voettekst.txt";
inline constexpr const char* kOptionFileName = "option.txt";
inline constexpr const char* kIntermediateFileName = "mijnstart.tmp";

}  // namespace qv
