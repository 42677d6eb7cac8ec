#include "settings/favorites_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_surroundings.h"

namespace qv {
namespace {

using testing::FakeRegistry;

TEST(SettleFavoritesFolder, FillsOnlyAnEmptyFieldWithOneSeparatorAtTheEnd) {
  struct Case {
    std::string field, registry_text, settled;
  };
  const std::vector<Case> cases = {
      {"", "/home/u/Fav", "/home/u/Fav/"}, {"", "/home/u/Fav/", "/home/u/Fav/"}, {"", "", ""},
      {"  ", "/home/u/Fav", "  "},         {"/mine", "/home/u/Fav", "/mine"},
  };
  for (const Case& c : cases) {
    FakeRegistry registry;
    registry.SetText(kShellFoldersKey, kFavoritesValueName, c.registry_text);
    Settings settings;
    settings.T[kFavoritesField] = c.field;
    SettleFavoritesFolder(settings, registry);
    EXPECT_EQ(settings.T[kFavoritesField], c.settled) << c.field << "|" << c.registry_text;
  }
  FakeRegistry empty;
  EXPECT_EQ(FavoritesFolderFromRegistry(empty), "");
}

}  // namespace
}  // namespace qv
