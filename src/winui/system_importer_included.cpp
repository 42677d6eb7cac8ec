// The import of this build: the user's browsers found by their profile
// folders, and the bookmark readers.
#include "control/system_bookmark_importer.h"
#include "winui/import_dialogs.h"

namespace qv::winui {

std::unique_ptr<BookmarkImporter> ImporterOfThisBuild() {
  return std::make_unique<qv::SystemBookmarkImporter>();
}

}  // namespace qv::winui
