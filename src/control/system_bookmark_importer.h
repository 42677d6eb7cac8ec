// The importer of this machine, for builds that have the bookmark import:
// the browsers of the user running the program and the bookmark readers,
// into the Favorites folder of the settings (or the one the import settles
// and writes into them).
#pragma once

#include "control/bookmark_import.h"

namespace qv {

class SystemBookmarkImporter : public BookmarkImporter {
 public:
  std::vector<BookmarkSource> SourcesFound() override;
  Result<Outcome> Import(const std::string& path, const ProgramFolders& folders) override;
};

}  // namespace qv
