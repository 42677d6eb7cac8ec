#include "import/import_target.h"

#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "generator/file_replacement.h"
#include "generator/file_system.h"
#include "generator/folder_watcher.h"
#include "generator/open_folder.h"
#include "generator/side_files.h"
#include "generator/text_encoding.h"
#include "generator/text_file.h"
#include "settings/settings_file.h"

namespace qv::import {
namespace {

namespace fs = std::filesystem;

// The line of the settings file that holds the Favorites folder (from 0).
constexpr int kFavoritesLine = kColourCount + static_cast<int>(TextField::kFavoritesFolder);

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// Writes `folder` into the Favorites line of the settings file; lines the
// file lacks are written as the program writes them from its defaults.
Status StoreFavoritesFolder(const std::string& app_folder, const std::string& folder) {
  if (folder.find_first_of("\r\n") != std::string::npos) {
    return Status::Error("cannot store the folder " + folder + " in the settings");
  }
  const std::string path = app_folder + kSettingsFileName;
  std::vector<std::string> lines;
  if (VisibleFileExists(app_folder, kSettingsFileName)) {
    // Read as the program reads it: the file is written back in UTF-8 as a
    // whole, as the program saves it, so that the folder written in UTF-8
    // never turns the other lines of a file in the ANSI code page, and the
    // folder with them, into text of another code.
    LineReader reader(path, kLongestSettingsLine, FileText::kUtf8OrAnsi);
    if (!reader.is_open()) return reader.open_status();
    for (std::string line; reader.Next(line);) lines.push_back(line);
    // The lines after a failed read would go missing from the file.
    if (Status read = reader.read_status(); !read.ok()) return read;
  }
  const std::vector<std::string> defaults = SplitLines(FormatSettings(DefaultSettings(), 0));
  while (lines.size() < defaults.size()) lines.push_back(defaults[lines.size()]);
  lines[kFavoritesLine] = folder;
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return ReplaceFileAtomically(path, text);
}

// The Favorites folder that the settings name as their own: none when the
// field is empty, or holds the design default of a system where the page
// would look into a fixed folder that nobody made.
std::string FavoritesSetting(const std::string& app_folder) {
  ProgramState state;
  LoadSettings(state, app_folder);
  const std::string& setting = state.settings.favorites_folder;
  std::error_code error;
  if (setting == DesignFavoritesFolder() && !fs::is_directory(NativePath(setting), error)) {
    return {};
  }
  return setting;
}

// Makes `folder` when it is missing, inside its parent folder as opened, so
// that a failure is told in the system's words as every other one is.
Status MakeMissingFolder(std::string folder) {
  if (IsExistingFolder(folder)) return Status::Ok();
  while (folder.size() > 1 && folder.back() == kPathSeparator) folder.pop_back();
  const fs::path native = NativePath(folder);
  const Result<OpenFolder> parent = OpenFolder::Open(PathText(native.parent_path()));
  if (!parent.ok()) {
    return Status::Error("cannot make the folder " + folder + ": " + parent.status().reason());
  }
  return parent->MakeSubfolder(PathText(native.filename()));
}

}  // namespace

Result<std::string> SettleImportFolder(const ProgramFolders& folders,
                                       const std::string& home_folder, FavoritesLookup& favorites,
                                       bool dry_run) {
  // Without a folder of the user's there are no settings to go by.
  if (folders.own.empty()) return Status::Error(folders.unknown_reason);
  const std::string setting = FavoritesSetting(folders.own);
  std::error_code error;
  if (!setting.empty()) {
    const fs::path native = NativePath(setting);
    if (!native.is_absolute()) {
      return Status::Error("the Favorites folder in the settings is not a full path: " + setting);
    }
    if (!fs::is_directory(native, error)) {
      return Status::Error("the Favorites folder in the settings does not exist: " + setting);
    }
    return WithTrailingSeparator(setting);
  }
  const std::string folder = UsersFavoritesFolder(home_folder, favorites);
  if (folder.empty()) {
    return Status::Error("no Favorites folder is set and there is no home folder to make one in");
  }
  if (dry_run) return WithTrailingSeparator(folder);
  if (Status made = MakeMissingFolder(folder); !made.ok()) return made;
  if (Status made = MakeOwnFolder(folders); !made.ok()) return made;
  const Status stored = StoreFavoritesFolder(folders.own, WithTrailingSeparator(folder));
  if (!stored.ok()) return stored;
  return WithTrailingSeparator(folder);
}

Result<std::string> SettleImportFolder(const ProgramFolders& folders,
                                       const std::string& home_folder, bool dry_run) {
  const std::unique_ptr<FavoritesLookup> favorites = SystemFavoritesLookup();
  return SettleImportFolder(folders, home_folder, *favorites, dry_run);
}

}  // namespace qv::import
