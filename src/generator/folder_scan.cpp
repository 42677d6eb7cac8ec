#include "generator/folder_scan.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "generator/file_system.h"
#include "generator/shortcut_file.h"
#include "generator/text.h"
#include "generator/work_sharing.h"

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
  std::vector<std::string> names = ListFolder(scan_folder, EntryKind::kFolder);
  std::erase_if(names, IsReservedFolder);
  // Reading the folders is nearly all of a run's time, and nearly all of that
  // the system's work on each file: several folders are read at once. The
  // columns are then chosen in name order, as the weights so far decide.
  std::vector<CategoryFiles> files(names.size());
  ForEachIndex(names.size(), WorkThreadCount(),
               [&](std::size_t i) { files[i] = ReadCategoryFolder(scan_folder + names[i]); });
  for (std::size_t i = 0; i < names.size(); ++i) {
    const PageColumn column = ChooseColumn(names[i], columns);
    // The header row plus one row per link; the spacer row is not counted.
    columns.Weight(column) += static_cast<long long>(files[i].size()) + 1;
    columns.category_files[names[i]] = std::move(files[i]);
    InsertSorted(columns.List(column), std::move(names[i]));
  }
}

bool IsReservedFolder(std::string_view name) {
  return std::find(kReservedFolders.begin(), kReservedFolders.end(), name) !=
         kReservedFolders.end();
}

CategoryFiles ReadCategoryFolder(const std::string& folder) {
  CategoryFiles files;
  VisitFiles(folder, [&files](const std::string& name, ReadableFile* file) {
    std::optional<std::string> address;
    if (file != nullptr) address = ReadShortcutAddress(*file);
    files.Add(name, address ? *address : std::string_view());
  });
  files.Seal();
  return files;
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
