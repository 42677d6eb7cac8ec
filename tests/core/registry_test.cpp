#include "settings/registry.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/fake_surroundings.h"

namespace qv {
namespace {

using testing::FakeRegistry;
using Kind = RegistryValue::Kind;

TEST(ReadRegistryValue, ReadsTextsAndNumbersOnlyAndAlwaysCloses) {
  const std::string key = "Software\\Test";
  FakeRegistry registry;
  registry.SetText(key, "Text", "C:\\Fav");
  registry.Set(key, "Number", kRegistryNumber, "\xd6\xff\xff\xff");  // -42
  registry.Set(key, "Expandable", 2, std::string("%HOME%\0", 7));
  registry.Set(key, "OnlyZero", kRegistryText, std::string(1, '\0'));
  registry.Set(key, "NoBytes", kRegistryText, "");
  registry.Set(key, "Unterminated", kRegistryText, "abc");
  const std::tuple<std::string, std::string, Kind, std::string> cases[] = {
      {key, "Text", Kind::kText, "C:\\Fav"}, {key, "Number", Kind::kNumber, "-42"},
      {key, "Expandable", Kind::kEmpty, ""}, {key, "OnlyZero", Kind::kText, ""},
      {key, "NoBytes", Kind::kEmpty, ""},    {key, "Unterminated", Kind::kText, "ab"},
      {key, "Missing", Kind::kEmpty, ""},    {"Software\\None", "Text", Kind::kEmpty, ""}};
  for (const auto& [key_path, name, kind, text] : cases) {
    const RegistryValue value = ReadRegistryValue(registry, kHkeyCurrentUser, key_path, name);
    EXPECT_EQ(value.kind, kind) << name;
    EXPECT_EQ(value.AsText(), text) << name;
    EXPECT_EQ(registry.open_keys(), 0) << name;
  }
}

}  // namespace
}  // namespace qv
