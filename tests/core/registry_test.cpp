#include "settings/registry.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/fake_surroundings.h"

namespace qv {
namespace {

using testing::FakeRegistry;
using Kind = RegistryValue::Kind;

const std::string kKey = "Software\\Test";

TEST(ReadRegistryValue, ReadsTextsAndNumbersOnlyAndAlwaysCloses) {
  FakeRegistry registry;
  registry.SetText(kKey, "Text", "C:\\Fav");
  registry.SetNumber(kKey, "Number", -42);
  registry.SetRaw(kKey, "Expandable", {2, std::string("%HOME%\0", 7)});
  registry.SetRaw(kKey, "OnlyZero", {kRegistryText, std::string(1, '\0')});
  registry.SetRaw(kKey, "NoBytes", {kRegistryText, ""});
  registry.SetRaw(kKey, "Unterminated", {kRegistryText, "abc"});
  const std::vector<std::tuple<std::string, std::string, Kind, std::string>> cases = {
      {kKey, "Text", Kind::kText, "C:\\Fav"}, {kKey, "Number", Kind::kNumber, "-42"},
      {kKey, "Expandable", Kind::kEmpty, ""}, {kKey, "OnlyZero", Kind::kText, ""},
      {kKey, "NoBytes", Kind::kEmpty, ""},    {kKey, "Unterminated", Kind::kText, "ab"},
      {kKey, "Missing", Kind::kEmpty, ""},    {"Software\\None", "Text", Kind::kEmpty, ""},
  };
  for (const auto& [key, name, kind, text] : cases) {
    const RegistryValue value = ReadRegistryValue(registry, kHkeyCurrentUser, key, name);
    EXPECT_EQ(value.kind, kind) << name;
    EXPECT_EQ(value.AsText(), text) << name;
    EXPECT_EQ(registry.open_keys(), 0) << name;
  }
}

}  // namespace
}  // namespace qv
