#include "generator/folder_scan.h"

#include <algorithm>
#include <array>
#include <utility>

#include "generator/file_system.h"
#include "generator/text.h"

namespace qv {
namespace {

// Sub-folders the browser keeps for its own use; they are never categories.
constexpr std::array<std::string_view, 2> kReservedFolders = {"Koppelingen", "Media"};

// The prefixes that pin a folder to page column A, B or C.
constexpr std::array<std::pair<std::string_view, PageColumn>, kPageColumnCount> kPins = {{
    {"(A", PageColumn::A},
    {"(B", PageColumn::B},
    {"(C", PageColumn::C},
}};

}  // namespace

void ScanFolders(const std::string& scan_folder, ColumnLists& columns) {
  if (scan_folder.empty()) return;  // no Favorites folder: nothing to scan
  for (std::string& name : ListFolder(scan_folder, EntryKind::kFolder)) {
    if (IsReservedFolder(name)) continue;
    const PageColumn column = ChooseColumn(name, columns);
    std::vector<std::string> files = ListFolder(scan_folder + name, EntryKind::kFile);
    // The header row plus one row per link; the spacer row is not counted.
    columns.Weight(column) += static_cast<long long>(files.size()) + 1;
    columns.category_files[name] = std::move(files);
    InsertSorted(columns.List(column), std::move(name));
  }
}

bool IsReservedFolder(std::string_view name) {
  return std::find(kReservedFolders.begin(), kReservedFolders.end(), name) !=
         kReservedFolders.end();
}

PageColumn ChooseColumn(std::string_view name, const ColumnLists& columns) {
  for (const auto& [prefix, column] : kPins) {
    if (name.starts_with(prefix)) return column;
  }
  const auto& w = columns.weights;
  constexpr int a = static_cast<int>(PageColumn::A);
  constexpr int b = static_cast<int>(PageColumn::B);
  constexpr int c = static_cast<int>(PageColumn::C);
  if (w[a] <= w[b] && w[a] <= w[c]) return PageColumn::A;
  // A tie between B and C, both lighter than A, goes to C.
  if (w[c] <= w[a] && w[c] <= w[b]) return PageColumn::C;
  return PageColumn::B;
}

void InsertSorted(std::vector<std::string>& list, std::string name) {
  const auto place =
      std::upper_bound(list.begin(), list.end(), name,
                       [](const std::string& a, const std::string& b) { return NameLess(a, b); });
  list.insert(place, std::move(name));
}

}  // namespace qv
