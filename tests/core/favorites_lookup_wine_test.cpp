#include "settings/favorites_lookup_wine.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using testing::TempFolder;

// A user registry as Wine writes it, with `favorites_line` in the Shell
// Folders section: a timestamp after each section header, neighbouring
// sections with similar names, other values around it.
std::string UserReg(const std::string& favorites_line) {
  return "WINE REGISTRY Version 2\n\n"
         "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer] 1700000000\n"
         "\"Favorites\"=\"C:\\\\wrong\"\n\n"
         "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] "
         "1700000001\n"
         "#time=1da0b0c0d0e0f00\n"
         "\"Cache\"=str(2):\"%USERPROFILE%\\\\cache\"\n" +
         favorites_line +
         "\n\"Quoted \\\"name\\\"\"=\"say \\\"hi\\\"\"\n\n"
         "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders "
         "Extra] 1700000002\n"
         "\"Favorites\"=\"D:\\\\other\"\n";
}

TEST(WineFavoritesLookup, TurnsTheTextOfTheFavoritesValueIntoAPathInThePrefix) {
  TempFolder prefix;
  const std::string p = prefix.path() + "dosdevices/";
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {R"("Favorites"="C:\\users\\root\\Favorites")", p + "c:/users/root/Favorites"},
      {R"("FAVORITES"="d:\\")", p + "d:/"},
      {R"("Favorites"="Z:\\a b\\caf\xe9 \x263a \xd83d\xde00\\")", p + "z:/a b/café ☺ 😀/"},
      {R"("Favorites"=str(1):"C:\\typed")", p + "c:/typed"},
      {"\"Favorites\"=hex(1):43,00,3a,00,5c,00,\\\n  e9,00,00,00", p + "c:/é"},
      {R"("Favorites"=str(2):"%USERPROFILE%\\Favorites")", std::nullopt},
      {R"("Favorites"=dword:0000002a)", std::nullopt},
      {R"("Favorites"=hex:43,3a,5c)", std::nullopt},
      {R"("Favorites"="C:relative")", std::nullopt},
      {R"("Favorites"="\\\\server\\share")", std::nullopt},
      {R"("Favorites"="/home/root")", std::nullopt},
      {R"("Favorites"="C:\\never closed)", std::nullopt},
      {R"("Other"="C:\\x")", std::nullopt}};
  for (const auto& [line, folder] : cases) {
    prefix.WriteFile("user.reg", UserReg(line));
    const Result<std::string> found = WineFavoritesLookup(prefix.path())->FavoritesFolder();
    ASSERT_EQ(found.ok(), folder.has_value()) << line << ": " << found.status().reason();
    if (folder) {
      EXPECT_EQ(*found, *folder) << line;
    } else {
      EXPECT_FALSE(found.status().reason().empty());
    }
  }
}

TEST(WineFavoritesLookup, AMissingRegistryOrPrefixNamesNoFolder) {
  TempFolder prefix;
  for (const std::string& missing : {std::string(), prefix.path(), prefix.Path("nowhere")}) {
    const Result<std::string> found = WineFavoritesLookup(missing)->FavoritesFolder();
    EXPECT_FALSE(found.ok()) << missing;
  }
  // A section matches whole, never by its start.
  prefix.WriteFile("user.reg",
                   "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell "
                   "Folders Extra]\n\"Favorites\"=\"C:\\\\x\"\n");
  EXPECT_FALSE(WineFavoritesLookup(prefix.path())->FavoritesFolder().ok());
}

TEST(WinePrefix, FromWineprefixElseTheWineFolderInHome) {
  struct Case {
    std::optional<std::string> wineprefix, home;  // none: unset
    std::string prefix;
  };
  const Case cases[] = {{"/opt/prefix", "/home/pim", "/opt/prefix"},
                        {std::nullopt, "/home/pim", "/home/pim/.wine"},
                        {"", "/home/pim/", "/home/pim/.wine"},
                        {std::nullopt, std::nullopt, ""}};
  for (const Case& c : cases) {
    const testing::ScopedVariable wineprefix("WINEPREFIX", c.wineprefix);
    const testing::ScopedVariable home("HOME", c.home);
    EXPECT_EQ(WinePrefix(), c.prefix) << c.prefix;
  }
}

}  // namespace
}  // namespace qv
