#include "generator/start_page.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "generator/file_system.h"
#include "generator/folder_scan.h"
#include "generator/link_collection.h"
#include "generator/link_table.h"
#include "generator/side_files.h"
#include "generator/template_merge.h"
#include "generator/text_file.h"
#include "settings/favorites_folder.h"
#include "settings/settings_file.h"

namespace qv {
namespace {

// Only the first nine lines of a language file are used.
constexpr std::size_t kLanguageFileLines = kLanguageLineCount - 1;

LanguageLines ReadLanguageLines(const std::string& app_folder, std::int16_t language_code) {
  LanguageLines lines;
  const char* name = language_code == 1 ? kDutchLanguageFileName : kEnglishLanguageFileName;
  if (!VisibleFileExists(app_folder, name)) return lines;
  std::vector<std::string> read = ReadLines(app_folder + name, kLanguageFileLines);
  for (std::size_t i = 0; i < read.size(); ++i) lines[i + 1] = std::move(read[i]);
  return lines;
}

void RemoveIfPresent(const std::string& app_folder, const std::string& name, RunReport& report) {
  if (VisibleFileExists(app_folder, name) && !RemoveFile(app_folder + name)) {
    report.problems.push_back("cannot delete " + app_folder + name);
  }
}

bool FolderExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

void Note(const Status& status, RunReport& report) {
  if (!status.ok()) report.problems.push_back(status.reason());
}

}  // namespace

RunReport BuildStartPage(ProgramState& state, RunSurroundings& surroundings) {
  const std::string app_folder = surroundings.AppFolder();
  RunReport report;

  // Everything a run builds starts empty; only the disk, the settings and the
  // two globals carry over from the run before.
  ColumnLists columns;
  LinkGrid grid;

  LoadSettings(state, app_folder);
  SettleFavoritesFolder(state.settings, surroundings.Registry());
  const LanguageLines language_lines = ReadLanguageLines(app_folder, state.LanguageCode);
  state.PageFileName = PageFileNameFrom(state.settings.T[kPageFileField]);
  report.page_path = app_folder + state.PageFileName;

  RemoveIfPresent(app_folder, kIntermediateFileName, report);
  RemoveIfPresent(app_folder, state.PageFileName, report);

  // An unknown Favorites folder gives a page without categories rather than a
  // scan of the root folder.
  const std::string& favorites = state.settings.T[kFavoritesField];
  if (favorites.empty()) {
    report.problems.push_back("no Favorites folder is set or known; the page has no categories");
  } else {
    if (!FolderExists(favorites)) {
      report.problems.push_back("Favorites folder not found: " + favorites);
    }
    ScanFolders(WithTrailingSeparator(favorites), columns);
    BuildLinkGrid(columns, favorites, grid);
  }

  const Status table = WriteLinkTable(grid, app_folder);
  Note(table, report);
  const MergeSources sources{state.settings, language_lines, state.LanguageCode,
                             surroundings.Today()};
  const Status page = MergePage(app_folder, state.PageFileName, sources);
  Note(page, report);
  // When neither the table nor the page could be written, the table's
  // failure is the cause to tell.
  report.page_status = !page.ok() && !table.ok() ? table : page;
  RemoveIfPresent(app_folder, kIntermediateFileName, report);

  surroundings.Navigate(report.page_path);
  return report;
}

}  // namespace qv
