// A large Favorites folder of awkward names turned into a page, pinned by the
// page's hash: any change to how the page is put together that moves one byte
// shows here, over far more cells than the layout tests write out.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "run/start_page.h"
#include "settings/settings.h"
#include "support/fake_surroundings.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using testing::TempFolder;

// FNV-1a, 64 bits: enough to tell any two pages apart here.
std::uint64_t PageHash(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  return hash;
}

// Names a user's Favorites folder holds: markup and placeholder look-alikes,
// accents and other scripts, captions past every column's cut (one cut inside
// a character of three bytes), the extension in any case or twice.
constexpr std::string_view kFileNames[] = {
    "R&D news.url",
    "#FFCC99 and #003399.url",
    "@#$TITEL@#$ @#$LINE1.url",
    "Caf\xC3\xA9 cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
    "e.url",
    "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x9A\xE3\x83\xBC\xE3\x82\xB8.URL",
    "A rather long site name that every column cuts somewhere.url",
    "abcdefghijklmnopqrstuvwxyz0123\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"
    "end.url",
    "  blanks around  .url",
    "twice.url.url",
    "no extension",
    "emoji \xF0\x9F\x98\x80 face.url",
};

// Shortcut contents: plain, with characters that are markup, UTF-16 with its
// mark, a Unicode copy in UTF-7, and empty.
std::string ShortcutText(std::size_t index) {
  const std::string site = "https://s" + std::to_string(index) + ".example/";
  switch (index % 5) {
    case 0:
      return "[InternetShortcut]\r\nURL=" + site + "?a=1&b=<2>#top\"q\"\r\n";
    case 1:
      return std::string("\xFF\xFE", 2) + std::string("U\0R\0L\0=\0h\0:\0/\0/\0\xE9\0\r\0\n\0", 22);
    case 2:
      return "[InternetShortcut]\r\nURL=" + site + "\r\n[InternetShortcut.W]\r\nURL=" + site +
             "+AOk-\r\n";
    case 3:
      return "";
    default:
      return "URL=" + site + "@#$UPDATE@#$ #009933\r\n";
  }
}

// Templates with every placeholder and every default colour, some twice on a
// line, so that each step of the merge has lines to work on.
constexpr std::string_view kHeader =
    "<html><body bgcolor=\"#009933\" text=\"#FFFFF0\">\r\n<title>\r\n@#$TITEL@#$\r\n</title>\r\n"
    "<meta name=\"description\" content=\"@#$DESCRIPTION\">\r\n"
    "<meta name=\"keywords\" content=\"@#$KEYWORDS\">\r\n"
    "<td bgcolor=\"#FFCC99\"><td bgcolor=\"#FFCC99\"><td bgcolor=\"#003399\">\r\n"
    "@#$LINE1 welcome\r\n@#$LINE2\r\n@#$LINE\r\n@#$TSIZE@#$\r\n@#$LINK1!@#\r\n@#$LINK2!@#\r\n"
    "@#$LINK1GIF!@#\r\n@#$LINK2GIF!@#\r\n<table>\r\n";
constexpr std::string_view kFooter =
    "</table>\r\n<select> @#$OPTION@#$ </select>\r\n@#$EMAIL@#$\r\n@#$CREATOR@#$\r\n"
    "@#$CREATORDISCR@#$\r\n@#$STATISTICS@#$\r\n@#$UPDATE@#$\r\n<p bgcolor=\"#FFFFF0\">\r\n"
    "</body></html>";

void FillFavorites(const TempFolder& favorites) {
  constexpr std::size_t kFolders = 24;
  constexpr std::size_t kFilesPerFolder = 25;
  std::size_t file = 0;
  for (std::size_t folder = 0; folder < kFolders; ++folder) {
    std::string name = "Topic " + std::to_string(folder) + (folder % 3 == 0 ? " & more" : "");
    if (folder % 4 == 1)
      name = "(" + std::string(1, "ABC"[folder % 3]) + "0" + std::to_string(folder % 10) +
             ") \xC3\x89t\xC3\xA9 #" + name;
    if (folder == 5) name = "Koppelingen";  // the browser's own, never a category
    // An empty category, and one whose files are all without an address.
    const std::size_t count = folder == 7 ? 0 : kFilesPerFolder + folder % 3;
    favorites.MakeFolder(name);
    for (std::size_t i = 0; i < count; ++i, ++file) {
      const std::string_view base = kFileNames[file % std::size(kFileNames)];
      const std::string unique = std::to_string(file) + " " + std::string(base);
      favorites.WriteFile(name + "/" + unique, folder == 9 ? "" : ShortcutText(file));
    }
  }
}

struct PageCase {
  const char* what;
  Settings settings;
  std::int16_t language_code;
  std::uint64_t page_hash;
  std::uint64_t jump_list_hash;
};

Settings AwkwardSettings() {
  Settings settings = DefaultSettings();
  // Colours that are other defaults, a placeholder, and one too long in
  // characters of two bytes: each replaced colour is seen by the later steps.
  settings.page_colour = "#FFCC99";
  settings.link_cell_colour = "#003399";
  settings.header_cell_colour = "@#$LINE";
  settings.background_colour = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";
  settings.search_keywords = "#";
  settings.page_title = "Mine & yours #FFFFF0";
  settings.maker_name = "@#$EMAIL@#$";
  settings.search_description = "A \"quoted\" description";
  settings.title_size = "3";
  settings.email = "me@example";
  return settings;
}

TEST(LargePageTest, GivesTheSameBytesForALargeFolderOfAwkwardNames) {
  TempFolder favorites;
  FillFavorites(favorites);
  const Settings plain = DefaultSettings();
  const PageCase cases[] = {
      {"the default colours", plain, 0, 9327314647470250905ull, 975483634550215220ull},
      {"colours that are placeholders and other defaults, in Dutch", AwkwardSettings(), 1,
       953750597156059427ull, 975483634550215220ull},
  };
  for (const PageCase& c : cases) {
    TempFolder program;
    program.WriteFile("koptekst.txt", kHeader);
    program.WriteFile("voettekst.txt", kFooter);
    program.WriteFile("uk.txt", "LINE1      Welcome  \r\nLINE2      Links\r\n");
    program.WriteFile("nl.txt", "LINE1      Welkom\r\nLINE2      Koppelingen\r\n");
    ProgramState state;
    state.settings = c.settings;
    state.settings.favorites_folder = favorites.path();
    state.language_code = c.language_code;
    testing::FakeSurroundings surroundings(program.path());

    const RunReport report = BuildStartPage(state, surroundings);

    ASSERT_TRUE(report.page_status.ok()) << report.page_status.reason();
    const std::string page = program.ReadFile("mijnstart.html");
    EXPECT_GT(page.size(), 100'000u) << c.what;
    EXPECT_EQ(PageHash(page), c.page_hash) << c.what;
    EXPECT_EQ(PageHash(program.ReadFile("option.txt")), c.jump_list_hash) << c.what;
  }
}

}  // namespace
}  // namespace qv
