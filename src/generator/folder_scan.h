// The folder scan: which sub-folders of the Favorites folder become
// categories, in which page column each stands, and in which order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "generator/types.h"

namespace qv {

// Lists the visible sub-folders of `scan_folder` (ending in the separator) and
// places each category in the list of its page column, adding 1 plus its file
// count to that column's weight. Expects `columns` cleared. Each category
// folder is read in one pass that counts its files and reads their
// addresses, kept in `columns.category_files`; several folders are read at
// once, on threads of their own.
void ScanFolders(const std::string& scan_folder, ColumnLists& columns);

// The visible files of the category folder `folder`, in name order, each with
// the address it holds; each file is opened once.
CategoryFiles ReadCategoryFolder(const std::string& folder);

// The page column of folder `name`: pinned by "(A", "(B" or "(C", else the
// lightest column (ties to A, then C).
PageColumn ChooseColumn(std::string_view name, const ColumnLists& columns);

// True for the sub-folder names the scan never takes for categories
// ("Koppelingen", "Media", exact).
bool IsReservedFolder(std::string_view name);

// Inserts `name` at its sorted place, after the names equal to it.
void InsertSorted(std::vector<std::string>& list, std::string name);

}  // namespace qv
