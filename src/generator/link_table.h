// The link table: writes the page (header template, one HTML table row per
// grid row, footer template with the jump list in place of its marker line)
// and the jump list file "option.txt".
#pragma once

#include <string>
#include <string_view>

#include "generator/file_system.h"
#include "generator/status.h"
#include "generator/template_merge.h"
#include "generator/types.h"

namespace qv {

// The footer line that contains this receives the jump list.
inline constexpr std::string_view kOptionMarker = " @#$OPTION@#$";

// The paths of the header and footer templates a run reads.
struct TemplatePaths {
  std::string header;
  std::string footer;
};

// Writes the page into `page` and the jump list into `jump_list`, framed by
// the `templates`. The template lines and the fixed markup of the cells take
// the user's colours, texts and language lines from `sources` (MergeLine);
// names and addresses from the Favorites folder are escaped, so that no step
// of the merge could ever find anything in them, and are written as they are.
// Always comes to its end; a missing template counts as empty. Reports a
// template that is there but does not open or cannot be read to its end, else the first failed
// write to `page`, else the first to `jump_list`; the caller closes both.
Status WriteLinkTable(const LinkGrid& grid, const TemplatePaths& templates,
                      const MergeSources& sources, WritableFile& page, WritableFile& jump_list);

}  // namespace qv
