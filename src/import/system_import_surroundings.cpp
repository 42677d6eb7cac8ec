#include "import/bookmark_readers.h"
#include "import/browser_profiles.h"
#include "import/import_command.h"
#include "import/import_target.h"

namespace qv::import {

SystemImportSurroundings::SystemImportSurroundings()
    : favorites_(SystemFavoritesLookup()), folders_(SystemProgramFolders()) {}

SystemImportSurroundings::~SystemImportSurroundings() = default;

ProgramFolders SystemImportSurroundings::Folders() {
  return CurrentProgramFolders(folders_);
}

std::string SystemImportSurroundings::HomeFolder() {
  return SystemPathsFromEnvironment().home;
}

FavoritesLookup& SystemImportSurroundings::Favorites() {
  return *favorites_;
}

std::vector<BrowserProfile> SystemImportSurroundings::BrowserProfiles() {
  return FindBrowserProfiles(SystemPathsFromEnvironment());
}

Result<SourceBookmarks> SystemImportSurroundings::ReadSource(const std::string& path) {
  return ReadBookmarkSource(path);
}

}  // namespace qv::import
