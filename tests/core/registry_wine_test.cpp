#include "settings/registry_wine.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "settings/favorites_folder.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using testing::TempFolder;
using Kind = RegistryValue::Kind;

// A user registry as Wine writes it: escaped names and values, a timestamp
// after each section header, neighbouring sections with similar names.
const char* const kUserReg = R"(WINE REGISTRY Version 2

[Software\\Microsoft\\Windows\\CurrentVersion\\Explorer] 1700000000
"Favorites"="C:\\wrong"

[Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders] 1700000001
#time=1da0b0c0d0e0f00
"Cache"=str(2):"%USERPROFILE%\\cache"
"Favorites"="C:\\users\\root\\Favorites"
"Quoted \"name\""="say \"hi\"\tnow"
"Number"=dword:0000002a
"Negative"=dword:ffffffff
"Blob"=hex:01,02,\
  03
"Accents"="caf\xe9 \x263a \xd83d\xde00"
"Wide"=hex(1):41,00,e9,00,00,00

[Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders Extra] 1700000002
"Other"="D:\\other"
)";

TEST(WineRegistry, ReadsTheValuesOfTheNamedSection) {
  TempFolder prefix;
  prefix.WriteFile("user.reg", kUserReg);
  auto registry = OpenWineRegistry(prefix.path());
  const std::string lower_key =
      "software\\microsoft\\windows\\currentversion\\explorer\\shell folders";
  const std::string favorites = "C:\\users\\root\\Favorites";
  const std::vector<std::tuple<std::string, std::string, Kind, std::string>> cases = {
      {kShellFoldersKey, "Favorites", Kind::kText, favorites},
      {lower_key, "FAVORITES", Kind::kText, favorites},
      {kShellFoldersKey, "Quoted \"name\"", Kind::kText, "say \"hi\"\tnow"},
      {kShellFoldersKey, "Number", Kind::kNumber, "42"},
      {kShellFoldersKey, "Negative", Kind::kNumber, "-1"},
      {kShellFoldersKey, "Cache", Kind::kEmpty, ""},
      {kShellFoldersKey, "Blob", Kind::kEmpty, ""},
      {kShellFoldersKey, "Accents", Kind::kText, "café ☺ 😀"},
      {kShellFoldersKey, "Wide", Kind::kText, "Aé"},
      {kShellFoldersKey, "Other", Kind::kEmpty, ""},
      {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell", "Favorites", Kind::kEmpty,
       ""},
  };
  for (const auto& [key, name, kind, text] : cases) {
    const RegistryValue value = ReadRegistryValue(*registry, kHkeyCurrentUser, key, name);
    EXPECT_EQ(value.kind, kind) << name;
    EXPECT_EQ(value.AsText(), text) << name;
  }
}

TEST(WineRegistry, LayerReportsTypesSizesAndErrors) {
  TempFolder prefix;
  prefix.WriteFile("user.reg", kUserReg);
  auto registry = OpenWineRegistry(prefix.path() + "/");
  RegistryKey key = 0;
  EXPECT_EQ(registry->OpenKey(kHkeyCurrentUser, "Software\\Nowhere", 0, 0x3F, &key), 2);
  ASSERT_EQ(registry->OpenKey(kHkeyCurrentUser, kShellFoldersKey, 0, 0x3F, &key), 0);
  for (const auto& [name, type, size] : std::vector<std::tuple<std::string, unsigned, unsigned>>{
           {"Cache", 2, 20}, {"Blob", 3, 3}, {"Number", 4, 4}, {"Favorites", 1, 24}}) {
    std::uint32_t got_type = 0, got_size = 0;
    EXPECT_EQ(registry->QueryValue(key, name, &got_type, nullptr, &got_size), 0) << name;
    EXPECT_EQ(got_type, type) << name;
    EXPECT_EQ(got_size, size) << name;
  }
  std::uint32_t size = 0;
  EXPECT_EQ(registry->CloseKey(key), 0);
  EXPECT_EQ(registry->QueryValue(key, "Favorites", nullptr, nullptr, &size), 6);
}

TEST(WineRegistry, NativePathMapsDrivePathsIntoThePrefix) {
  auto registry = OpenWineRegistry("/p/");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"C:\\users\\root\\Favorites", "/p/dosdevices/c:/users/root/Favorites"},
      {"d:\\", "/p/dosdevices/d:/"},
      {"Z:\\a b\\c\\", "/p/dosdevices/z:/a b/c/"},
  };
  for (const auto& [text, path] : cases) EXPECT_EQ(registry->NativePath(text), path) << text;
  for (std::string text : {"", "C:", "C:relative", "1:\\x", "\\\\server\\share", "/home", "42"}) {
    EXPECT_EQ(registry->NativePath(text), "") << text;
  }
  EXPECT_EQ(OpenWineRegistry("")->NativePath("C:\\x"), "");
  EXPECT_EQ(ReadRegistryValue(*OpenWineRegistry("/nowhere"), kHkeyCurrentUser, kShellFoldersKey,
                              "Favorites")
                .kind,
            Kind::kEmpty);
}

}  // namespace
}  // namespace qv
