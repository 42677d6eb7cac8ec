#include "run/start_page.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "generator/file_system.h"
#include "generator/folder_scan.h"
#include "generator/link_collection.h"
#include "generator/link_table.h"
#include "generator/side_files.h"
#include "generator/template_merge.h"
#include "generator/text_encoding.h"
#include "generator/text_file.h"
#include "settings/favorites_lookup.h"
#include "settings/language.h"
#include "settings/settings_file.h"

namespace qv {
namespace {

// Only the first nine lines of a language file are used.
constexpr std::size_t kLanguageFileLines = kLanguageLineCount - 1;

LanguageLines ReadLanguageLines(const std::string& app_folder, Language language) {
  LanguageLines lines;
  const char* name = LanguageFileName(language);
  if (!VisibleFileExists(app_folder, name)) return lines;
  std::vector<std::string> read =
      ReadLines(app_folder + name, kLanguageFileLines, FileText::kUtf8OrAnsi);
  for (std::size_t i = 0; i < read.size(); ++i) lines[i + 1] = std::move(read[i]);
  return lines;
}

void RemoveIfPresent(const std::string& app_folder, const std::string& name, RunReport& report) {
  if (!VisibleFileExists(app_folder, name)) return;
  const Status removed = RemoveFile(app_folder + name);
  if (!removed.ok()) report.problems.push_back(removed.reason());
}

bool FolderExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(NativePath(path), error);
}

void Note(const Status& status, RunReport& report) {
  if (!status.ok()) report.problems.push_back(status.reason());
}

}  // namespace

RunReport BuildStartPage(ProgramState& state, RunSurroundings& surroundings) {
  const std::string app_folder = surroundings.AppFolder();
  RunReport report;

  // Everything a run builds starts empty; only the disk and the program state
  // carry over from the run before. A missing settings file leaves the state
  // as it is.
  ColumnLists columns;
  LinkGrid grid;

  LoadSettings(state, app_folder);
  const Status favorites_known = SettleFavoritesFolder(state.settings, surroundings.Favorites());
  const LanguageLines language_lines =
      ReadLanguageLines(app_folder, LanguageOfCode(state.language_code));
  const std::string page_file_name = PageFileNameFrom(state.settings.page_file_name);
  report.page_path = app_folder + page_file_name;

  RemoveIfPresent(app_folder, kIntermediateFileName, report);
  RemoveIfPresent(app_folder, page_file_name, report);

  // An unknown Favorites folder gives a page without categories rather than a
  // scan of the root folder.
  const std::string& favorites = state.settings.favorites_folder;
  if (!favorites_known.ok()) {
    report.problems.push_back("no Favorites folder is set or known (" + favorites_known.reason() +
                              "); the page has no categories");
  } else {
    if (!FolderExists(favorites)) {
      report.problems.push_back("Favorites folder not found: " + favorites);
    }
    ScanFolders(WithTrailingSeparator(favorites), columns);
    BuildLinkGrid(columns, favorites, grid);
  }

  const Status table = WriteLinkTable(grid, app_folder);
  Note(table, report);
  const MergeSources sources{state.settings, state.settings, language_lines,
                             UpdateLineStyleOfCode(state.language_code), surroundings.Today()};
  const Status page = MergePage(app_folder, page_file_name, sources);
  Note(page, report);
  // When neither the table nor the page could be written, the table's
  // failure is the cause to tell.
  report.page_status = !page.ok() && !table.ok() ? table : page;
  RemoveIfPresent(app_folder, kIntermediateFileName, report);
  return report;
}

}  // namespace qv
