#include "import/favorites_plan.h"

#include <unordered_map>

#include "import/address.h"
#include "import/address_screen.h"
#include "import/favorites_names.h"
#include "import/shortcut_contents.h"

namespace qv::import {

FavoritesPlan PlanFavorites(const SourceBookmarks& source) {
  FavoritesPlan plan;
  std::unordered_map<std::string, std::size_t> category_of_key;
  for (const SourceBookmark& bookmark : source) {
    const std::string address = CleanAddress(bookmark.address);
    if (auto reason = ReasonToLeaveOut(address)) {
      ++plan.skipped[*reason];
      continue;
    }
    auto contents = ShortcutContents(address);
    if (!contents) {
      ++plan.skipped["address too long"];
      continue;
    }
    std::string name = CategoryFolderName(bookmark.root, bookmark.folders);
    const auto [place, added] = category_of_key.try_emplace(NameKey(name), plan.categories.size());
    if (added) plan.categories.push_back({std::move(name), {}});
    plan.categories[place->second].links.push_back(
        {LinkFileStem(bookmark.title, address), std::move(*contents)});
  }
  return plan;
}

}  // namespace qv::import
