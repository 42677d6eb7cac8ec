// From the bookmarks of a source to the categories and shortcut files that
// the Favorites folder should hold, before the folder itself is looked at.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "import/bookmarks.h"

namespace qv::import {

struct PlannedLink {
  // The file name without extension and number (LinkFileStem).
  std::string stem;
  // The bytes of the shortcut file.
  std::string contents;

  bool operator==(const PlannedLink&) const = default;
};

struct PlannedCategory {
  // The folder name without number (CategoryFolderName).
  std::string name;
  std::vector<PlannedLink> links;

  bool operator==(const PlannedCategory&) const = default;
};

// How many links were left out, by the reason the summary gives: those of
// ReasonToLeaveOut, and "address too long".
using SkipCounts = std::map<std::string, int>;

struct FavoritesPlan {
  // In the order of the source; folders whose names Windows takes for the
  // same folder are one category, under the name of theirs that sorts first.
  std::vector<PlannedCategory> categories;
  SkipCounts skipped;
};

// Each bookmark folder that holds links becomes a category; links at the top
// of a root go to a category named after the root. Folders without links
// leave no category. Folders of one name under different roots stay apart:
// each is named with its root in front ("Bookmarks Toolbar - Misc",
// "Bookmarks Menu - Misc"), and so is a folder named as a root that holds
// links of its own. Whether a name clashes depends on which folders hold
// links, never on their order, so a browser's profile and its own export
// give the same names.
FavoritesPlan PlanFavorites(const SourceBookmarks& source);

}  // namespace qv::import
