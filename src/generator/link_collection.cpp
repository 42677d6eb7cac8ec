#include "generator/link_collection.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

#include "generator/file_system.h"
#include "generator/folder_scan.h"
#include "generator/text.h"

namespace qv {
namespace {

// The longest link caption of page columns A, B and C, in characters.
constexpr std::array<std::size_t, kPageColumnCount> kCaptionLimits = {30, 31, 34};

// A folder name that begins with "(" carries a five-character prefix such as
// "(A01)"; its shown name starts at this character.
constexpr std::size_t kDisplayNameStart = 6;

constexpr std::string_view kShortcutExtension = ".url";

// Writes one page column's categories from row 0 downward.
class ColumnFiller {
 public:
  ColumnFiller(LinkGrid& grid, PageColumn column)
      : grid_(grid), caption_column_(static_cast<int>(column)), column_(column) {}

  void AddCategory(const std::string& name, const CategoryFiles& files) {
    grid_.SetCell(NextRow(), caption_column_, ";" + DisplayName(name));
    for (std::size_t file = 0; file < files.size(); ++file) {
      const int row = NextRow();
      grid_.SetCell(row, caption_column_, LinkCaption(files.Name(file), column_));
      grid_.SetCell(row, caption_column_ + kPageColumnCount, std::string(files.Address(file)));
    }
    NextRow();  // the empty row that ends the category
  }

 private:
  int NextRow() {
    ++row_;
    if (row_ > grid_.MaxRow()) grid_.AddRow();
    return row_;
  }

  LinkGrid& grid_;
  int caption_column_;
  PageColumn column_;
  int row_ = -1;
};

// The rows the longest column will take, as far as the scan knows: its weight
// (a header row and a row per file of each category) plus a spacer row per
// category.
std::size_t ScannedRowCount(const ColumnLists& columns) {
  long long rows = 0;
  for (int c = 0; c < kPageColumnCount; ++c) {
    rows = std::max(rows, columns.weights[c] + static_cast<long long>(columns.lists[c].size()));
  }
  return static_cast<std::size_t>(rows);
}

}  // namespace

void BuildLinkGrid(ColumnLists& columns, const std::string& favorites_field, LinkGrid& grid) {
  const std::string favorites_folder = WithTrailingSeparator(favorites_field);
  grid.Reserve(ScannedRowCount(columns));
  for (int c = 0; c < kPageColumnCount; ++c) {
    ColumnFiller filler(grid, static_cast<PageColumn>(c));
    for (const std::string& name : columns.lists[c]) {
      auto scanned = columns.category_files.extract(name);
      const CategoryFiles files =
          scanned ? std::move(scanned.mapped()) : ReadCategoryFolder(favorites_folder + name);
      filler.AddCategory(name, files);
    }
  }
}

std::string DisplayName(std::string_view folder_name) {
  if (!folder_name.starts_with('(')) return std::string(folder_name);
  return std::string(TrimBlanks(CharsFrom(folder_name, kDisplayNameStart)));
}

std::string LinkCaption(std::string_view file_name, PageColumn column) {
  std::string_view caption = file_name;
  // The extension, wherever it stands and in any letter case, becomes blanks.
  std::string blanked;
  const std::size_t found = FindAsciiFolded(file_name, kShortcutExtension);
  if (found != std::string_view::npos) {
    blanked.reserve(file_name.size());
    blanked.append(file_name.substr(0, found));
    blanked.append(kShortcutExtension.size(), ' ');
    blanked.append(file_name.substr(found + kShortcutExtension.size()));
    caption = TrimBlanks(blanked);
  }
  const std::size_t limit = kCaptionLimits[static_cast<int>(column)];
  return std::string(TrimBlanks(LeftChars(caption, limit)));
}

}  // namespace qv
