#include "control/system_bookmark_importer.h"

#include "import/bookmark_readers.h"
#include "import/browser_profiles.h"
#include "import/favorites_import.h"
#include "import/import_target.h"

namespace qv {

std::vector<BookmarkSource> SystemBookmarkImporter::SourcesFound() {
  std::vector<BookmarkSource> sources;
  for (const import::BrowserProfile& profile :
       import::FindBrowserProfiles(import::SystemPathsFromEnvironment())) {
    sources.push_back({profile.browser + " (" + profile.profile + ")", profile.store});
  }
  return sources;
}

Result<BookmarkImporter::Outcome> SystemBookmarkImporter::Import(const std::string& path,
                                                                 const ProgramFolders& folders) {
  // Read whole before anything is touched: a bad source changes nothing.
  const auto bookmarks = import::ReadBookmarkSource(path);
  if (!bookmarks.ok()) return bookmarks.status();
  const auto folder =
      import::SettleImportFolder(folders, import::SystemPathsFromEnvironment().home, false);
  if (!folder.ok()) return folder.status();
  const auto summary = import::ImportBookmarks(*bookmarks, *folder, {});
  if (!summary.ok()) return summary.status();
  return Outcome{*folder, import::SummaryLine(*summary, false)};
}

}  // namespace qv
