// The link table: writes the intermediate page "mijnstart.tmp" (header
// template, one HTML table row per grid row, footer template with the jump
// list in place of its marker line) and the jump list file "option.txt".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "generator/file_system.h"
#include "generator/shortcut_file.h"
#include "generator/status.h"
#include "generator/text_file.h"
#include "generator/types.h"

namespace qv {

// The footer line that contains this receives the jump list.
inline constexpr std::string_view kOptionMarker = " @#$OPTION@#$";

// No line of the intermediate page is longer: template lines are cut to it,
// and the longest address, escaped (six bytes at most for a character), fits
// in it with its cell's markup. A reader of the intermediate page with this
// bound never cuts a line.
inline constexpr std::size_t kLongestTableLine = kLongestTextLine;
static_assert(6 * kLongestShortcutAddress + 1024 <= kLongestTableLine);

// The paths of the header and footer templates a run reads.
struct TemplatePaths {
  std::string header;
  std::string footer;
};

// Writes the intermediate page into `page` and the jump list into
// `jump_list`, framed by the `templates`. Always comes to its end; a missing
// template counts as empty. Reports the first failed write to `page`, else
// the first to `jump_list`; the caller closes both.
Status WriteLinkTable(const LinkGrid& grid, const TemplatePaths& templates, WritableFile& page,
                      WritableFile& jump_list);

}  // namespace qv
