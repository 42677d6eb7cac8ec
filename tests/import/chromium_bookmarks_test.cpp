#include <gtest/gtest.h>

#include <string>

#include "import/bookmark_printer.h"
#include "import/bookmark_readers.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

Result<SourceBookmarks> ReadJson(const std::string& json) {
  testing::TempFolder folder;
  folder.WriteFile("Bookmarks", json);
  return ReadChromiumBookmarks(folder.Path("Bookmarks"));
}

// A node as the browser writes it: "children" before "name", and keys this
// program does not read around them.
std::string Link(const std::string& name, const std::string& url) {
  return R"({"date_added": "13300000000000000", "guid": "0f0e", "id": "7", "meta_info": {"k": ["v"]},
             "name": ")" +
         name + R"(", "type": "url", "url": ")" + url + R"("})";
}

std::string Folder(const std::string& name, const std::string& children) {
  return R"({"children": [)" + children + R"(], "date_modified": "0", "id": "3", "name": ")" +
         name + R"(", "type": "folder"})";
}

std::string BookmarksFile(const std::string& bar, const std::string& other,
                          const std::string& synced) {
  return "\xEF\xBB\xBF{\r\n \"checksum\": \"abc\", \"roots\": {\r\n \"bookmark_bar\": " + bar +
         ", \"other\": " + other + ", \"synced\": " + synced +
         ", \"sync_transaction_version\": \"1\"}, \"version\": 1}\r\n";
}

TEST(ReadChromiumBookmarksTest, RootsFoldersAndLinksInTheirOrder) {
  const std::string json = BookmarksFile(
      Folder(
          "Lesezeichenleiste",
          Link("Tom's \\\"page\\\"", "javascript:alert(\\\"x\\\")") + "," +
              Folder("News", Link("Daily", "https://daily.example/") + "," + Folder("Empty", "") +
                                 "," + Folder("Local", Link("Town", "https://town.example/"))) +
              "," + Link("", "https://untitled.example/")),
      // Named "Other bookmarks" whatever its stored name: the exports leave
      // it unnamed.
      Folder("Weitere Lesezeichen",
             Link("Bell\\u0007 \\u00e9\\ud83d\\ude00", "https://other.example/")),
      Folder("", Link("Phone", "https://phone.example/")));
  const SourceBookmarks expected = {
      {"Lesezeichenleiste", {}, "Tom's \"page\"", "javascript:alert(\"x\")"},
      {"Lesezeichenleiste", {"News"}, "Daily", "https://daily.example/"},
      {"Lesezeichenleiste", {"News", "Local"}, "Town", "https://town.example/"},
      {"Lesezeichenleiste", {}, "", "https://untitled.example/"},
      {"Other bookmarks", {}, "Bell\x07 é😀", "https://other.example/"},
      {"Mobile bookmarks", {}, "Phone", "https://phone.example/"},
  };
  const Result<SourceBookmarks> read = ReadJson(json);
  ASSERT_TRUE(read.ok()) << read.status().reason();
  EXPECT_EQ(*read, expected);
}

TEST(ReadChromiumBookmarksTest, LongTextsAndNestingUpToTheLimit) {
  const std::string long_text(64 * 1024, 'x');
  std::string nested = Link(long_text, "https://" + long_text);
  for (std::size_t level = kMaxFolderDepth; level >= 1; --level) {
    nested = Folder("F" + std::to_string(level), nested);
  }
  const Result<SourceBookmarks> read =
      ReadJson(BookmarksFile(Folder("Bar", nested), Folder("", ""), Folder("", "")));
  ASSERT_TRUE(read.ok()) << read.status().reason();
  ASSERT_EQ(read->size(), 1u);
  EXPECT_EQ((*read)[0].folders.size(), kMaxFolderDepth);
  EXPECT_EQ((*read)[0].folders.back(), "F" + std::to_string(kMaxFolderDepth));
  EXPECT_EQ((*read)[0].title, long_text);
  EXPECT_EQ((*read)[0].address, "https://" + long_text);
}

std::string Repeated(const std::string& text, int count) {
  std::string repeated;
  for (int i = 0; i < count; ++i) repeated += text;
  return repeated;
}

TEST(ReadChromiumBookmarksTest, RefusesWhatIsNoBookmarksFile) {
  const std::string valid = BookmarksFile(Folder("", ""), Folder("", ""), Folder("", ""));
  std::string too_deep = Link("x", "https://x.example/");
  // A link in 101 folders, the outermost being the root.
  for (std::size_t level = 0; level < kMaxFolderDepth + 2; ++level) {
    too_deep = Folder("F", too_deep);
  }
  const struct {
    std::string json;
    std::string reason;
  } cases[] = {
      {"", "is not valid JSON: parse error at line 1, column 1"},
      {valid.substr(0, valid.size() / 2), "is not valid JSON"},
      {"{\"roots\": {\"other\": {\"name\": \"\xC3\x28\"}}}", "ill-formed UTF-8"},
      {"{\"roots\": {}} trailing", "is not valid JSON"},
      {"{\"roots\": {\"bar\": " + std::string(100'000, '[') + "}}", "is not valid JSON"},
      {"[{\"roots\": {}}]", "has no \"roots\" object"},
      {"{\"version\": 1}", "has no \"roots\" object"},
      {"{\"roots\": {\"bookmark_bar\": " + too_deep + "}}",
       "has folders nested more than 100 deep"},
      {"{\"roots\": {\"bookmark_bar\": {\"children\": [" +
           Repeated("{},", static_cast<int>(kMaxSourceEntries) - 1) + "{}]}}}",
       "holds more than 200000 bookmarks and folders"},
  };
  for (const auto& [json, reason] : cases) {
    const Result<SourceBookmarks> read = ReadJson(json);
    ASSERT_FALSE(read.ok()) << json.substr(0, 80);
    EXPECT_NE(read.status().reason().find(reason), std::string::npos) << read.status().reason();
    EXPECT_EQ(read.status().reason().find('\n'), std::string::npos);
    EXPECT_LT(read.status().reason().size(), 400u);
  }
}

TEST(ReadChromiumBookmarksTest, DeepValuesNobodyReadsAreHarmless) {
  const std::string deep = std::string(1'000'000, '[') + std::string(1'000'000, ']');
  const Result<SourceBookmarks> read =
      ReadJson("{\"junk\": " + deep + ", \"roots\": {\"other\": {\"meta_info\": " + deep +
               ", \"children\": [" + Link("A", "https://a.example/") + ", 7, [" + deep + "]]}}}");
  ASSERT_TRUE(read.ok()) << read.status().reason();
  EXPECT_EQ(*read, (SourceBookmarks{{"Other bookmarks", {}, "A", "https://a.example/"}}));
}

}  // namespace
}  // namespace qv::import
