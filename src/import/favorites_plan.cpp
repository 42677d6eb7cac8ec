#include "import/favorites_plan.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "import/address.h"
#include "import/address_screen.h"
#include "import/favorites_names.h"
#include "import/shortcut_contents.h"

namespace qv::import {
namespace {

// The folder a link lies in, as the source names it.
struct FolderPath {
  std::string root;
  std::vector<std::string> folders;

  auto operator<=>(const FolderPath&) const = default;
};

// A link that is written, and the folder it lies in.
struct KeptLink {
  std::size_t path;  // in the list of folder paths
  PlannedLink link;
};

// The category names of `paths`: each its own name, but the root's name in
// front of the folders where paths of different roots would share one. The
// names depend on which paths there are, not on their order.
std::vector<std::string> CategoryNames(const std::vector<FolderPath>& paths) {
  std::vector<std::string> names;
  std::unordered_map<std::string, std::set<std::string>> roots_of_name;
  for (const FolderPath& path : paths) {
    names.push_back(CategoryFolderName(path.root, path.folders));
    roots_of_name[NameKey(names.back())].insert(path.root);
  }
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (paths[i].folders.empty() || roots_of_name[NameKey(names[i])].size() < 2) continue;
    std::vector<std::string> from_root = {paths[i].root};
    from_root.insert(from_root.end(), paths[i].folders.begin(), paths[i].folders.end());
    names[i] = CategoryFolderName({}, from_root);
  }
  return names;
}

}  // namespace

FavoritesPlan PlanFavorites(const SourceBookmarks& source) {
  FavoritesPlan plan;
  std::vector<FolderPath> paths;
  std::map<FolderPath, std::size_t> path_index;
  std::vector<KeptLink> kept;
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
    FolderPath path{bookmark.root, bookmark.folders};
    const auto [place, added] = path_index.try_emplace(std::move(path), paths.size());
    if (added) paths.push_back(place->first);
    kept.push_back({place->second, {LinkFileStem(bookmark.title, address), std::move(*contents)}});
  }
  // Paths whose names Windows takes for the same folder share a category,
  // under the name that sorts first.
  const std::vector<std::string> names = CategoryNames(paths);
  std::unordered_map<std::string, std::size_t> category_of_key;
  for (KeptLink& link : kept) {
    const std::string& name = names[link.path];
    const auto [place, added] = category_of_key.try_emplace(NameKey(name), plan.categories.size());
    if (added) plan.categories.push_back({name, {}});
    PlannedCategory& category = plan.categories[place->second];
    category.name = std::min(category.name, name);
    category.links.push_back(std::move(link.link));
  }
  return plan;
}

}  // namespace qv::import
