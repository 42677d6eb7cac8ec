#include "settings/registry_wine.h"

#include <gtest/gtest.h>

#include <tuple>

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
"Blob"=hex:01,02,03
"Accents"="caf\xe9 \x263a \xd83d\xde00"
"Wide"=hex(1):41,00,\
  e9,00,00,00

[Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders Extra] 1700000002
"Other"="D:\\other"
)";

TEST(WineRegistry, ReadsTheValuesOfTheNamedSection) {
  TempFolder prefix;
  prefix.WriteFile("user.reg", kUserReg);
  auto registry = OpenWineRegistry(prefix.path());
  const std::string key = kShellFoldersKey, favorites = "C:\\users\\root\\Favorites";
  using enum Kind;
  const std::tuple<std::string, Kind, std::string> cases[] = {
      {"Favorites", kText, favorites}, {"FAVORITES", kText, favorites},
      {"Number", kNumber, "42"},       {"Negative", kNumber, "-1"},
      {"Cache", kEmpty, ""},           {"Blob", kEmpty, ""},
      {"Accents", kText, "café ☺ 😀"},  {"Wide", kText, "Aé"},
      {"Other", kEmpty, ""},           {"Quoted \"name\"", kText, "say \"hi\"\tnow"}};
  for (const auto& [name, kind, text] : cases) {
    const RegistryValue value = ReadRegistryValue(*registry, kHkeyCurrentUser, key, name);
    EXPECT_EQ(value.kind, kind) << name;
    EXPECT_EQ(value.AsText(), text) << name;
  }
  // Key paths fold case too; a section matches whole, never by its start.
  const std::string lower = "software\\microsoft\\windows\\currentversion\\explorer\\shell folders";
  EXPECT_EQ(ReadRegistryValue(*registry, kHkeyCurrentUser, lower, "Favorites").text, favorites);
  const std::string shorter = key.substr(0, key.size() - 8);
  EXPECT_EQ(ReadRegistryValue(*registry, kHkeyCurrentUser, shorter, "Favorites").kind, kEmpty);
}

TEST(WineRegistry, NativePathMapsDrivePathsIntoThePrefix) {
  auto registry = OpenWineRegistry("/p/");
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\users\\root\\Favorites", "/p/dosdevices/c:/users/root/Favorites"},
      {"d:\\", "/p/dosdevices/d:/"},
      {"Z:\\a b\\c\\", "/p/dosdevices/z:/a b/c/"}};
  for (const auto& [text, path] : cases) EXPECT_EQ(registry->NativePath(text), path) << text;
  for (const char* text : {"", "C:", "C:relative", "1:\\x", "\\\\server\\share", "/home", "42"}) {
    EXPECT_EQ(registry->NativePath(text), "") << text;
  }
  EXPECT_EQ(OpenWineRegistry("")->NativePath("C:\\x"), "");
  const auto missing = OpenWineRegistry("/nowhere");
  EXPECT_EQ(ReadRegistryValue(*missing, kHkeyCurrentUser, kShellFoldersKey, "Favorites").kind,
            Kind::kEmpty);
}

}  // namespace
}  // namespace qv
