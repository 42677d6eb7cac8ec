// The link table: writes the intermediate page "mijnstart.tmp" (header
// template, one HTML table row per grid row, footer template with the jump
// list in place of its marker line) and the jump list file "option.txt".
#pragma once

#include <string>
#include <string_view>

#include "generator/status.h"
#include "generator/types.h"

namespace qv {

// The footer line that contains this receives the jump list.
inline constexpr std::string_view kOptionMarker = " @#$OPTION@#$";

// Writes both files into `app_folder` (ending in the separator). Always comes
// to its end; a missing template counts as empty. Reports the first file that
// could not be written.
Status WriteLinkTable(const LinkGrid& grid, const std::string& app_folder);

}  // namespace qv
