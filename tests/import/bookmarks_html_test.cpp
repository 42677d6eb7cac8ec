#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "import/bookmark_printer.h"
#include "import/bookmark_readers.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

using Folders = std::vector<std::string>;

// Reads `html` written to a file of its own.
Result<SourceBookmarks> ReadHtml(const std::string& html) {
  testing::TempFolder folder;
  folder.WriteFile("bookmarks.html", html);
  return ReadBookmarksHtml(folder.Path("bookmarks.html"));
}

SourceBookmarks MustRead(const std::string& html) {
  Result<SourceBookmarks> read = ReadHtml(html);
  EXPECT_TRUE(read.ok()) << read.status().reason();
  return read.ok() ? *read : SourceBookmarks{};
}

constexpr const char* kFirefoxExport = R"(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<!-- This is an automatically generated file.
     It will be read and overwritten.
     DO NOT EDIT! -->
<meta http-equiv="Content-Security-Policy"
      content="default-src 'self'; script-src 'none'; img-src data: *; object-src 'none'"></meta>
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
<TITLE>Bookmarks</TITLE>
<H1>Lesezeichen-Menü</H1>

<DL><p>
    <DT><H3 ADD_DATE="1" LAST_MODIFIED="2" PERSONAL_TOOLBAR_FOLDER="true">Lesezeichen-Symbolleiste</H3>
    <DL><p>
        <DT><A HREF="place:sort=8&amp;maxResults=10" ADD_DATE="1">Most Visited</A>
        <DT><A HREF="https://news.example/" ADD_DATE="1" ICON_URI="https://news.example/i.ico" ICON="data:image/png;base64,ICON">News</A>
    </DL><p>
    <HR>    <DT><H3 ADD_DATE="1" LAST_MODIFIED="2">Work</H3>
    <DD>Things for work
    <DL><p>
        <DT><A HREF="https://wiki.example/" SHORTCUTURL="wk">Wiki</A>
        <DD>The team wiki
        <DT><H3>Empty</H3>
        <DT><H3>Level 2</H3>
        <DL><p>
            <DT><H3>Level 3</H3>
            <DL><p>
                <DT><H3 PERSONAL_TOOLBAR_FOLDER="true">Level 4</H3>
                <DL><p>
                    <DT><A HREF="https://deep.example/">Deep</A>
                </DL><p>
            </DL><p>
        </DL><p>
        <HR>
        <DT><A FEEDURL="https://blog.example/feed" HREF="https://blog.example/">Blog</A>
        <DT><A FEEDURL="https://feed.example/rss">Feed only</A>
    </DL><p>
    <DT><A HREF="https://menu.example/">On the menu</A>
    <DT><H3 UNFILED_BOOKMARKS_FOLDER="true">Weitere Lesezeichen</H3>
    <DL><p>
        <DT><A HREF="https://other.example/">Other</A>
    </DL><p>
</DL>
)";

// Firefox names its roots in the user's language here, and internally in
// places.sqlite: they get the names its reader gives them.
TEST(ReadBookmarksHtmlTest, FirefoxExport) {
  const SourceBookmarks expected = {
      {"Bookmarks Toolbar", {}, "Most Visited", "place:sort=8&maxResults=10"},
      {"Bookmarks Toolbar", {}, "News", "https://news.example/"},
      {"Bookmarks Menu", {"Work"}, "Wiki", "https://wiki.example/"},
      {"Bookmarks Menu",
       {"Work", "Level 2", "Level 3", "Level 4"},
       "Deep",
       "https://deep.example/"},
      {"Bookmarks Menu", {"Work"}, "Blog", "https://blog.example/"},
      {"Bookmarks Menu", {"Work"}, "Feed only", "https://feed.example/rss"},
      {"Bookmarks Menu", {}, "On the menu", "https://menu.example/"},
      {"Other Bookmarks", {}, "Other", "https://other.example/"},
  };
  EXPECT_EQ(MustRead(kFirefoxExport), expected);
}

TEST(ReadBookmarksHtmlTest, ChromiumExportWithCrLfAndEntities) {
  const std::string file =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n"
      "<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks</H1>\r\n<DL><p>\r\n"
      "    <DT><H3 ADD_DATE=\"1\" PERSONAL_TOOLBAR_FOLDER=\"true\">书签栏</H3>\r\n"
      "    <DL><p>\r\n"
      "        <DT><A HREF=\"javascript:alert(&quot;a&amp;b&quot;)\">Say &quot;hi&quot;</A>\r\n"
      "        <DT><A HREF=\"https://a.example/?x=1&amp;y=2\">Tom&#39;s &amp; Jerry&#39;s</A>\r\n"
      "    </DL><p>\r\n"
      "    <DT><H3>Lesezeichenleiste</H3>\r\n"
      "    <DL><p>\r\n"
      "        <DT><A HREF=\"https://b.example/\">B</A>\r\n"
      "    </DL><p>\r\n"
      "    <DT><A HREF=\"https://top.example/\">Top</A>\r\n"
      "</DL><p>\r\n";
  const SourceBookmarks expected = {
      {"书签栏", {}, "Say \"hi\"", "javascript:alert(\"a&b\")"},
      {"书签栏", {}, "Tom's & Jerry's", "https://a.example/?x=1&y=2"},
      // Outside the bookmarks bar: the "Other bookmarks" of the profile.
      {"Other bookmarks", {"Lesezeichenleiste"}, "B", "https://b.example/"},
      {"Other bookmarks", {}, "Top", "https://top.example/"},
  };
  EXPECT_EQ(MustRead(file), expected);
}

// Roots get the names the same browser's store gives them: Chromium's
// export leaves its "Other bookmarks" unnamed, Firefox's (the one with an
// "Other Bookmarks" root) names its roots in the user's language.
TEST(ReadBookmarksHtmlTest, RootsAreNamedAsTheStoreOfTheSameBrowserNamesThem) {
  const std::string toolbar =
      "<DT><H3 PERSONAL_TOOLBAR_FOLDER=\"true\">Bar</H3>\n<DL><p>\n"
      "<DT><A HREF=\"https://bar.example/\">On the bar</A>\n</DL><p>\n";
  const std::string unfiled =
      "<DT><H3 UNFILED_BOOKMARKS_FOLDER=\"true\">Unfiled</H3>\n<DL><p>\n"
      "<DT><A HREF=\"https://unfiled.example/\">Unfiled</A>\n</DL><p>\n";
  const std::string loose = "<DT><A HREF=\"https://loose.example/\">Loose</A>\n";
  const struct {
    std::string heading, lists;
    std::vector<std::string> roots;  // of the links in the file's order
  } cases[] = {
      {"<H1>Bookmarks</H1>", toolbar + loose, {"Bar", "Other bookmarks"}},
      {"<H1>Favorites</H1>", toolbar + loose, {"Bar", "Favorites"}},
      {"<H1>Bookmarks</H1>", loose, {"Bookmarks"}},
      {"<H1>Lesezeichen-Men\xc3\xbc</H1>",
       loose + toolbar + unfiled,
       {"Bookmarks Menu", "Bookmarks Toolbar", "Other Bookmarks"}},
      {"", loose + unfiled, {"Bookmarks Menu", "Other Bookmarks"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> roots;
    for (const SourceBookmark& read : MustRead("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n" + c.heading +
                                               "\n<DL><p>\n" + c.lists + "</DL><p>\n")) {
      roots.push_back(read.root);
    }
    EXPECT_EQ(roots, c.roots) << c.heading << c.lists;
  }
}

TEST(ReadBookmarksHtmlTest, SafariExportWithoutOuterList) {
  const std::string file =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
      "\t<HTML>\n"
      "\t<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
      "\t<Title>Bookmarks</Title>\n"
      "\t<H1>Bookmarks</H1>\n"
      "\t<DT><H3 FOLDED>Favorites</H3>\n"
      "\t<DL><p>\n"
      "\t\t<DT><A HREF=\"https://apple.example/\">Apple</A>\n"
      "\t\t<Dt><h3 Folded>Reading</h3>\n"
      "\t\t<dL><p>\n"
      "\t\t\t<dt><a href=\"https://read.example/\">Read</a>\n"
      "\t\t</Dl><p>\n"
      "\t</DL><p>\n"
      "\t<DT><H3 FOLDED>Bookmarks Menu</H3>\n"
      "\t<DL><p>\n"
      "\t</DL><p>\n"
      "\t<DT><A HREF=\"https://loose.example/\">Loose</A>\n"
      "</HTML>\n";
  const SourceBookmarks expected = {
      {"Bookmarks", {"Favorites"}, "Apple", "https://apple.example/"},
      {"Bookmarks", {"Favorites", "Reading"}, "Read", "https://read.example/"},
      {"Bookmarks", {}, "Loose", "https://loose.example/"},
  };
  EXPECT_EQ(MustRead(file), expected);
}

TEST(ReadBookmarksHtmlTest, OlderExportsWithByteOrderMarkRawTextAndNoFolders) {
  const std::string with_list =
      "\xEF\xBB\xBF<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
      "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n"
      "<DT><A HREF=\"http://café.example/a&b=1&copy=2\" ADD_DATE=\"1\" PRIVATE=\"0\" >"
      "  Café & Crème\t</A>\n"
      "<DT><A NAME=\"anchor\">Not a link</A>\n"
      "<DT><A HREF=\" http://x.example/ \" TAGS=\"a,b\">   </A>\n"
      "</DL><p>\n\x1A";  // the old end-of-file mark
  EXPECT_EQ(MustRead(with_list),
            (SourceBookmarks{{"Bookmarks", {}, "Café & Crème", "http://café.example/a&b=1&copy=2"},
                             {"Bookmarks", {}, "", "http://x.example/"}}));
  // Links and headings left open: what follows lands inside them.
  std::string unclosed = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><H3>F\n<DL><p>\n";
  for (int i = 0; i < 300; ++i) unclosed += "<DT><A HREF=\"https://x.example/\">X\n";
  unclosed += "</DL><p>\n<DT><A HREF=\"https://y.example/\">Y\n</DL><p>\n";
  SourceBookmarks expected(300, {"", {"F"}, "X", "https://x.example/"});
  expected.push_back({"", {}, "Y", "https://y.example/"});
  EXPECT_EQ(MustRead(unclosed), expected);
  // Neither heading nor list: the root is empty.
  const std::string flat =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Links</TITLE>\n"
      "<DT><A HREF=\"https://one.example/\">One</A>\n"
      "<DT><A HREF=\"https://two.example/\">Two</A>\n";
  EXPECT_EQ(MustRead(flat), (SourceBookmarks{{"", {}, "One", "https://one.example/"},
                                             {"", {}, "Two", "https://two.example/"}}));
}

TEST(ReadBookmarksHtmlTest, TextsKeepWhatTheFileHolds) {
  const std::string long_text(64 * 1024, 'x');
  const std::string big_icon = "data:image/png;base64," + std::string(2 << 20, 'A');
  const std::string file =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
      "<DT><A HREF=\"https://e.example/" +
      long_text + "\" ICON=\"" + big_icon + "\">" + long_text +
      "</A>\n"
      "<DT><A HREF=\"https://c.example/\x01\">Bell&#7;\x02 \xFF\xC3(</A>\n"
      "<DT><H3>\xE0\x80\xAF</H3>\n<DL><p><DT><A "
      "HREF=\"https://f.example/\xED\xA0\x80\">F</A></DL>\n"
      "</DL>\n";
  const SourceBookmarks expected = {
      {"", {}, long_text, "https://e.example/" + long_text},
      {"", {}, "Bell\x07\x02 \xEF\xBF\xBD\xEF\xBF\xBD(", "https://c.example/\x01"},
      {"",
       {"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
       "F",
       "https://f.example/\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  EXPECT_EQ(MustRead(file), expected);
}

// A bookmarks file of `tag` `count` times over.
std::string Repeated(const std::string& tag, int count) {
  std::string html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>";
  for (int i = 0; i < count; ++i) html += tag;
  return html;
}

// A list of folders nested `depth` deep with one link at the bottom.
std::string NestedFolders(int depth) {
  std::string file = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<H1>Menu</H1>\n<DL><p>\n";
  for (int level = 1; level <= depth; ++level) {
    file += "<DT><H3>F" + std::to_string(level) + "</H3>\n<DL><p>\n";
  }
  file += "<DT><A HREF=\"https://deep.example/\">Deep</A>\n";
  for (int level = 0; level <= depth; ++level) file += "</DL><p>\n";
  return file;
}

TEST(ReadBookmarksHtmlTest, FoldersNestedUpToTheLimit) {
  const SourceBookmarks read = MustRead(NestedFolders(kMaxFolderDepth));
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].folders.size(), kMaxFolderDepth);
  EXPECT_EQ(read[0].folders.back(), "F" + std::to_string(kMaxFolderDepth));
}

TEST(ReadBookmarksHtmlTest, RefusesWhatIsNoWholeBookmarksFile) {
  // Cut right after a tag, inside the folder lists.
  const std::string firefox = kFirefoxExport;
  const std::string cut_firefox = firefox.substr(0, firefox.find("Deep</A>") + 8);
  const struct {
    std::string html;
    std::string reason;
  } cases[] = {
      {"", "is not a bookmarks file"},
      {"<html><body><p>Hello <a href=\"https://x.example/\">x</a></p></body></html>",
       "is not a bookmarks file"},
      {"<?xml version=\"1.0\"?><rss><channel><link>https://x.example/</link></channel></rss>",
       "is not a bookmarks file"},
      {cut_firefox, "seems cut off"},
      {"\xEF\xBB\xBF<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" "
       "CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n",
       "seems cut off"},
      {"<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DT><A HREF=\"https://x.example/\">Tit",
       "seems cut off"},
      {"<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DT><A HREF=\"https://x.exa", "seems cut off"},
      {NestedFolders(kMaxFolderDepth + 1), "has folders nested more than 100 deep"},
      {NestedFolders(1000), "has markup nested more than"},
      // Hostile nesting is refused quickly.
      {Repeated("<div>", 200'000), "nested more than"},
      {Repeated("<b>", 200'000), "nested more than"},
      {Repeated("<DL><p>", 200'000), "nested more than"},
      {Repeated("<ul><dt>", 200'000), "nested more than"},
      {std::string(1'000'000, '<'), "tags, more than an import takes"},
      {Repeated("<H3>t</H3>", 200'001), "holds more than 200000 bookmarks and folders"},
  };
  for (const auto& [html, reason] : cases) {
    const Result<SourceBookmarks> read = ReadHtml(html);
    ASSERT_FALSE(read.ok()) << html.substr(0, 80);
    EXPECT_NE(read.status().reason().find(reason), std::string::npos) << read.status().reason();
    EXPECT_EQ(read.status().reason().find('\n'), std::string::npos);
  }
}

// Browsers write some files one </DL> short; a file that ends so is whole
// when its last tag ends the document or an entry of the outermost list.
TEST(ReadBookmarksHtmlTest, OutermostListLeftOpenIsReadWholeOnlyWhereTheFileEndsWhole) {
  const std::string head =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n<H1>Menu</H1>\n<DL><p>\n";
  const std::string folder =
      "<DT><H3>Folder</H3>\n<DL><p>\n<DT><A HREF=\"https://a.example/\">A</A>\n</DL><p>\n";
  const std::string link = "<DT><A HREF=\"https://b.example/\">B</A>";
  const SourceBookmarks a = {{"Menu", {"Folder"}, "A", "https://a.example/"}};
  SourceBookmarks a_b = a;
  a_b.push_back({"Menu", {}, "B", "https://b.example/"});
  const struct {
    std::string tail;                     // after `head`
    std::optional<SourceBookmarks> read;  // nothing: refused as cut off
  } cases[] = {
      {folder + "</HTML>\n", a},
      {folder + "</html >", a},
      {folder, a},
      {folder + "</DL>\r\n\r\n\x1A", a},
      {folder + link + "\n\0\0", a_b},
      {folder + link + "</DT>\n", a_b},
      {folder + link + "\n</HTML>", a_b},
      {"", std::nullopt},
      {"<DT><H3>Folder</H3>\n", std::nullopt},
      {"<DT><H3>Folder</H3>\n<DL><p>\n", std::nullopt},
      {"<DT><H3>Folder</H3>\n<DL><p>\n" + link + "\n", std::nullopt},
      {"<DT><H3>Folder</H3>\n<DL><p>\n" + link + "\n</HTML>\n", std::nullopt},
      {folder + "<DT><A HREF=\"https://b.example/\">B", std::nullopt},
      {folder + "<DT><A HREF=\"https://b.exa", std::nullopt},
      {folder + link, std::nullopt},
      {folder + link + "\n    ", std::nullopt},
      {folder.substr(0, folder.size() - 1), std::nullopt},
      {folder + link + "\n<DD>About B", std::nullopt},
      {folder + "<HR>\n", std::nullopt},
      {folder + link + "<p>\n", std::nullopt},
  };
  for (const auto& [tail, read] : cases) {
    const Result<SourceBookmarks> result = ReadHtml(head + tail);
    if (read) {
      ASSERT_TRUE(result.ok()) << tail << ": " << result.status().reason();
      EXPECT_EQ(*result, *read) << tail;
    } else {
      ASSERT_FALSE(result.ok()) << tail;
      EXPECT_NE(result.status().reason().find("seems cut off"), std::string::npos)
          << result.status().reason();
    }
  }
}

}  // namespace
}  // namespace qv::import
