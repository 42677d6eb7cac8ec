// The import of this build: the user's browsers found by their profile
// folders, and the bookmark readers.
#include "import/bookmark_readers.h"
#include "import/browser_profiles.h"
#include "import/favorites_import.h"
#include "import/import_target.h"
#include "winui/import_dialogs.h"

namespace qv::winui {
namespace {

class BrowserBookmarkImporter : public BookmarkImporter {
 public:
  std::vector<BookmarkSource> SourcesFound() override {
    std::vector<BookmarkSource> sources;
    for (const import::BrowserProfile& profile :
         import::FindBrowserProfiles(import::SystemPathsFromEnvironment())) {
      sources.push_back({profile.browser + " (" + profile.profile + ")", profile.store});
    }
    return sources;
  }

  Result<Outcome> Import(const std::string& path, const std::string& app_folder) override {
    // Read whole before anything is touched: a bad source changes nothing.
    const auto bookmarks = import::ReadBookmarkSource(path);
    if (!bookmarks.ok()) return bookmarks.status();
    const auto folder =
        import::SettleImportFolder(app_folder, import::SystemPathsFromEnvironment().home, false);
    if (!folder.ok()) return folder.status();
    const auto summary = import::ImportBookmarks(*bookmarks, *folder, {});
    if (!summary.ok()) return summary.status();
    return Outcome{*folder, import::SummaryLine(*summary, false)};
  }
};

}  // namespace

std::unique_ptr<BookmarkImporter> SystemBookmarkImporter() {
  return std::make_unique<BrowserBookmarkImporter>();
}

}  // namespace qv::winui
