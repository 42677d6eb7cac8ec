#include "import/favorites_plan.h"

#include <array>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "import/address.h"
#include "import/favorites_names.h"
#include "import/shortcut_contents.h"

namespace qv::import {
namespace {

// Schemes of addresses that run in the page or query the browser itself;
// no shortcut opens them.
constexpr std::array<std::string_view, 3> kSkippedSchemes = {"javascript", "place", "data"};

// Why `address` (cleaned) is left out, or nothing when it is kept.
std::optional<std::string> SkipReason(const std::string& address) {
  if (address.empty()) return "no address";
  const std::string scheme = AddressScheme(address);
  for (const std::string_view skipped : kSkippedSchemes) {
    if (scheme == skipped) return scheme + ":";
  }
  return std::nullopt;
}

}  // namespace

FavoritesPlan PlanFavorites(const SourceBookmarks& source) {
  FavoritesPlan plan;
  std::unordered_map<std::string, std::size_t> category_of_key;
  for (const SourceBookmark& bookmark : source) {
    const std::string address = CleanAddress(bookmark.address);
    if (auto reason = SkipReason(address)) {
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
