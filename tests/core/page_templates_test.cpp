// The page that the templates beside the program give: every colour follows
// the user's, and what carries its colours and layout is known to the Windows
// web control's engine (Internet Explorer 11), which passes over @supports
// rules whole and drops what it does not know.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "run/start_page.h"
#include "support/fake_surroundings.h"
#include "support/program_data.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using testing::TempFolder;

// The text of every style element of `page`, without its comments.
std::string StyleSheets(const std::string& page) {
  std::string sheets;
  for (std::size_t at = page.find("<style"); at != std::string::npos;
       at = page.find("<style", at)) {
    const std::size_t start = page.find('>', at) + 1;
    at = page.find("</style>", start);
    sheets += page.substr(start, at - start);
  }
  return std::regex_replace(sheets, std::regex(R"(/\*[^*]*\*+([^/*][^*]*\*+)*/)"), "");
}

// `sheet` without its @supports rules.
std::string WithoutSupportsRules(std::string sheet) {
  for (std::size_t at; (at = sheet.find("@supports")) != std::string::npos;) {
    std::size_t end = sheet.find('{', at);
    for (int depth = 0; end < sheet.size(); ++end) {
      depth += sheet[end] == '{' ? 1 : sheet[end] == '}' ? -1 : 0;
      if (depth == 0) break;
    }
    sheet.erase(at, end + 1 - at);
  }
  return sheet;
}

class PageTemplatesTest : public ::testing::Test {
 protected:
  PageTemplatesTest() {
    testing::CopyProgramData(program_);
    // Two categories, so that the link table holds header and link cells.
    favorites_.WriteFile("News/Weather.url", "URL=https://weather.example/\r\n");
    favorites_.WriteFile("Shops/Books.url", "URL=https://books.example/\r\n");
    state_.settings.favorites_folder = favorites_.path();
  }

  std::string Page() {
    EXPECT_TRUE(BuildStartPage(state_, surroundings_).page_status.ok());
    return program_.ReadFile("mijnstart.html");
  }

  TempFolder program_, favorites_;
  testing::FakeSurroundings surroundings_{program_.path()};
  ProgramState state_;
};

TEST_F(PageTemplatesTest, EveryColourFollowsTheUsers) {
  const std::string colours[] = {"#8B1E3F", "#D6E4F0", "#2E4057", "#F4F1DE"};
  PageColours& settings = state_.settings;
  settings.page_colour = colours[0];
  settings.link_cell_colour = colours[1];
  settings.header_cell_colour = colours[2];
  settings.background_colour = colours[3];

  const std::string page = Page();
  // The merge changes only the first use of a default colour on a line; a second one would stay.
  for (const char* default_colour : {"#009933", "#FFCC99", "#003399", "#FFFFF0"}) {
    EXPECT_EQ(page.find(default_colour), std::string::npos) << default_colour;
  }
  // And each of them reaches the rules that every engine reads.
  const std::string carried = WithoutSupportsRules(StyleSheets(page));
  for (const std::string& colour : colours) {
    EXPECT_NE(carried.find(colour), std::string::npos) << colour;
  }
}

TEST_F(PageTemplatesTest, AsksForTheNewestDocumentModeFirstInTheHead) {
  EXPECT_NE(Page().find("<head>\r\n<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">\r\n"),
            std::string::npos);
}

TEST_F(PageTemplatesTest, CarriesColoursAndLayoutOnlyOnWhatTheWindowsEngineKnows) {
  struct Lack {
    const char* pattern;
    const char* what;
  };
  const Lack lacks[] = {
      {R"(var\(|(^|[\s;{])--[\w-]+\s*:)", "custom properties"},
      {R"(@(layer|container|property)\b|&)", "cascade layers, container queries, nesting"},
      {R"(:(focus-visible|focus-within|has|is|where)\b|:not\([^)]*[\s,:>+~])",
       "a selector that drops its whole rule"},
      {R"(\b(min|max|clamp|env|color-mix|light-dark)\(|conic-gradient)", "a CSS function"},
      {R"(\b(rgba?|hsla?)\([^)]*/|#([0-9a-f]{4}|[0-9a-f]{8})\b)", "a colour notation"},
      {R"(\b[dsl]v[hw]\b|\bvmax\b)", "a viewport unit"},
      {R"(display\s*:\s*(inline-grid|grid|contents|flow-root)|(^|[\s;{])(row-|column-)?gap\s*:)",
       "grids, display: contents, gaps"},
      {R"(position\s*:\s*sticky|(^|[\s;{])(inset|place-[\w-]+|aspect-ratio|object-fit)\s*:)",
       "a layout property"},
      {R"(\bflex\s*:\s*[\d.]+\s+[\d.]+\s+0\s*[;}])", "a flex basis without a unit"},
      {R"(overflow-wrap|scroll-(margin|padding|behavior))", "a property (word-wrap is known)"},
      {R"((^|[\s;{])(backdrop-filter|filter|mix-blend-mode|accent-color|color-scheme)\s*:)",
       "a colour property"},
  };
  const std::string carried = WithoutSupportsRules(StyleSheets(Page()));
  ASSERT_NE(carried.find("background-color"), std::string::npos);
  for (const Lack& lack : lacks) {
    std::smatch found;
    EXPECT_FALSE(std::regex_search(carried, found, std::regex(lack.pattern, std::regex::icase)))
        << "the engine lacks " << lack.what << ": " << found.str();
  }
  // The engine draws the main element inline unless told otherwise.
  EXPECT_TRUE(
      std::regex_search(carried, std::regex(R"((^|[},])\s*main\s*\{[^}]*display:\s*block)")));
}

}  // namespace
}  // namespace qv
