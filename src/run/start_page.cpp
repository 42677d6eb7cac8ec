#include "run/start_page.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <system_error>

#include "generator/file_replacement.h"
#include "generator/file_system.h"
#include "generator/folder_lock.h"
#include "generator/folder_scan.h"
#include "generator/link_collection.h"
#include "generator/link_table.h"
#include "generator/open_folder.h"
#include "generator/side_files.h"
#include "generator/template_merge.h"
#include "generator/text_encoding.h"
#include "generator/text_file.h"
#include "settings/favorites_lookup.h"
#include "settings/language.h"
#include "settings/program_folders.h"
#include "settings/settings_file.h"

namespace qv {
namespace {

// Only the first nine lines of a language file are used.
constexpr std::size_t kLanguageFileLines = kLanguageLineCount - 1;

// How long a run waits for another run in the same program folder. Runs take
// a second or two even for tens of thousands of links; a run that takes
// longer than this is stuck, and waiting on would only hide that.
constexpr std::chrono::seconds kLockWait{30};

LanguageLines ReadLanguageLines(const ProgramFolders& folders, Language language) {
  LanguageLines lines;
  const std::string name = LanguageFileName(language);
  const std::string folder = FolderOfSideFile(folders, name);
  if (!VisibleFileExists(folder, name)) return lines;
  std::vector<std::string> read =
      ReadLines(folder + name, kLanguageFileLines, kLongestTextLine, FileText::kUtf8OrAnsi);
  for (std::size_t i = 0; i < read.size(); ++i) lines[i + 1] = std::move(read[i]);
  return lines;
}

bool FolderExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(NativePath(path), error);
}

void Note(const Status& status, RunReport& report) {
  if (!status.ok()) report.problems.push_back(status.reason());
}

// The page's files, each written aside and put in place only when the whole
// page has been written: until then the page and "option.txt" of the run
// before stay as they were.
struct PageFiles {
  std::unique_ptr<ReplacementFile> jump_list;
  std::unique_ptr<ReplacementFile> page;
};

// Every temporary file of a run is named after "mijnstart.tmp", so that the
// next run can tell and remove what a killed run left.
Result<PageFiles> CreatePageFiles(const OpenFolder& app_folder, const std::string& page_path) {
  PageFiles files;
  for (auto [file, target] : {std::pair{&files.jump_list, app_folder.path() + kOptionFileName},
                              std::pair{&files.page, page_path}}) {
    Result<std::unique_ptr<ReplacementFile>> created =
        ReplacementFile::Create(app_folder, kIntermediateFileName, target);
    if (!created.ok()) return created.status();
    *file = std::move(created).value();
  }
  return files;
}

// Scans the Favorites folder and writes the page; the run's steps after the
// settings are settled.
Status WritePage(ProgramState& state, RunSurroundings& surroundings, const ProgramFolders& folders,
                 const OpenFolder& app_folder, const Status& favorites_known,
                 const LanguageLines& language_lines, RunReport& report) {
  ColumnLists columns;
  LinkGrid grid;
  // An unknown Favorites folder gives a page without categories rather than a
  // scan of the root folder.
  const std::string& favorites = state.settings.favorites_folder;
  if (!favorites_known.ok()) {
    report.problems.push_back("no Favorites folder is set or known (" + favorites_known.reason() +
                              "); the page has no categories");
  } else {
    if (!FolderExists(favorites)) {
      report.favorites_folder_missing = true;
      report.problems.push_back("Favorites folder not found: " + favorites);
    }
    ScanFolders(WithTrailingSeparator(favorites), columns);
    BuildLinkGrid(columns, favorites, grid);
  }

  Result<PageFiles> files = CreatePageFiles(app_folder, report.page_path);
  if (!files.ok()) return files.status();
  const TemplatePaths templates{SideFilePath(folders, kHeaderTemplateName),
                                SideFilePath(folders, kFooterTemplateName)};
  const MergeSources sources{state.settings, state.settings, language_lines,
                             UpdateLineStyleOfCode(state.language_code), surroundings.Today()};
  Status status = WriteLinkTable(grid, templates, sources, *files->page, *files->jump_list);
  if (status.ok())
    status = files->page->PutInPlace(PageFileNameFrom(state.settings.page_file_name));
  if (!status.ok()) return status;
  // The page is whole without it: the jump list also stands in the page.
  Note(files->jump_list->PutInPlace(kOptionFileName), report);
  return Status::Ok();
}

// A page file name the run cannot use gives way to the usual one, and the
// report says so: writing elsewhere than the name shown would leave the user
// looking for a page that is not there.
void SettlePageFileName(Settings& settings, RunReport& report) {
  const PageNameRefusal refusal = PageFileNameRefusal(settings.page_file_name);
  if (refusal == PageNameRefusal::kNone) return;
  report.refused_page_file_name = settings.page_file_name;
  report.page_name_refusal = refusal;
  report.problems.push_back("the page cannot be named \"" + settings.page_file_name + "\" (" +
                            RefusalReason(refusal) + "); it is written as " + kDefaultPageFileName);
  settings.page_file_name = kDefaultPageFileName;
}

// The run itself, inside the lock of the program folder, which it holds
// open so that every file it writes lands in that very folder.
void RunLocked(ProgramState& state, RunSurroundings& surroundings, const ProgramFolders& folders,
               const OpenFolder& app, RunReport& report) {
  const std::string& app_folder = app.path();
  // Without a settings file the page takes the values it has; one that is
  // there but cannot be read whole would build it from some of the user's
  // settings and the design's values for the rest.
  const Status loaded = LoadSettings(state, app_folder);
  if (!loaded.ok() && HasSettingsFile(app_folder)) {
    report.page_status = loaded;
    return;
  }
  const Status favorites_known = SettleFavoritesFolder(state.settings, surroundings.Favorites());
  const LanguageLines language_lines =
      ReadLanguageLines(folders, LanguageOfCode(state.language_code));
  SettlePageFileName(state.settings, report);
  report.page_path = app_folder + PageFileNameFrom(state.settings.page_file_name);
  report.page_status =
      WritePage(state, surroundings, folders, app, favorites_known, language_lines, report);
}

}  // namespace

RunReport BuildStartPage(ProgramState& state, RunSurroundings& surroundings) {
  const ProgramFolders folders = surroundings.Folders();
  const std::string& app_folder = folders.own;
  RunReport report;
  report.page_path = app_folder + PageFileNameFrom(state.settings.page_file_name);
  // An installed program's own folder is made by its first run.
  if (const Status made = MakeOwnFolder(folders); !made.ok()) {
    report.page_status = made;
    return report;
  }
  const Result<std::unique_ptr<FolderLock>> lock = FolderLock::Acquire(app_folder, kLockWait);
  if (!lock.ok()) {
    report.page_status = lock.status();
    return report;
  }
  const Result<OpenFolder> app = OpenFolder::Open(app_folder);
  if (!app.ok()) {
    report.page_status = app.status();
    return report;
  }
  // Only with the lock held are such files surely no other run's. The
  // intermediate file under its own name is what earlier versions left.
  if ((*lock)->held()) {
    RemoveLeftoverFiles(*app, kIntermediateFileName, LeftoverNames::kAlsoThePrefix);
  }
  try {
    RunLocked(state, surroundings, folders, *app, report);
  } catch (const std::bad_alloc&) {
    // The run's files went with the unwinding; the old page stands.
    report.page_status = Status::Error("not enough memory to build the page " + report.page_path);
  }
  return report;
}

}  // namespace qv
