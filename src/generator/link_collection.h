// The link collection: turns the categories into the rows of LinkGrid.
#pragma once

#include <string>
#include <string_view>

#include "generator/types.h"

namespace qv {

// Fills `grid` (expected empty) from the column lists: per category a header
// row, a row per file of its folder and an empty spacer row. `favorites_field`
// is the Favorites folder as the settings name it. The files the scan read
// are taken out of `columns` category by category, so that their names are
// freed as soon as their links stand in the grid; a category the scan did not
// read is read here.
void BuildLinkGrid(ColumnLists& columns, const std::string& favorites_field, LinkGrid& grid);

// The display name of a category folder: a name beginning with "(" loses its
// first five characters and its surrounding blanks.
std::string DisplayName(std::string_view folder_name);

// The caption of a link made from its file name for page column `column`.
std::string LinkCaption(std::string_view file_name, PageColumn column);

}  // namespace qv
