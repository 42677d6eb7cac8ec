#include "generator/template_merge.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(MergeLineTest, AppliesEachStepInOrderToItsFirstOccurrence) {
  struct Case {
    std::string line, merged;
    void (*adjust)(PageTexts&, PageColours&) = nullptr;
    UpdateLineStyle update_line = UpdateLineStyle::kEnglish;
  };
  const Case cases[] = {
      {"#009933 #FFCC99 #003399 #FFFFF0 #009933", "#111111 #222222 #333333 #444444 #009933"},
      {"x#FFCC99y", "x#FFF   y", [](PageTexts&, PageColours& c) { c.link_cell_colour = "#FFF"; }},
      {"x#FFCC99y", "xéééééééy",
       [](PageTexts&, PageColours& c) { c.link_cell_colour = "ééééééééé"; }},
      {"bg=#009933", "bg=#222222", [](PageTexts&, PageColours& c) { c.page_colour = "#FFCC99"; }},
      {"<h1>@#$TITEL@#$</h1>", "Tom & <Jerry>"},
      {"<h1>@#$titel@#$</h1>", "<h1>@#$titel@#$</h1>"},
      {"@#$TITEL@#$", "mail",
       [](PageTexts& t, PageColours&) {
         t.page_title = "x @#$EMAIL@#$";
         t.email = "mail";
       }},
      {"@#$TITEL@#$", "#009933", [](PageTexts& t, PageColours&) { t.page_title = "#009933"; }},
      {"<img src=\"@#$LINK2GIF!@#\">", "right image"},
      {"by @#$CREATOR@#$", "maker"},
      {"@#$TSIZE@#$", "size"},
      {R"(<meta name="description" content="@#$DESCRIPTION rest">)",
       R"(<meta name="description" content="description">)"},
      {R"(<meta content="@#$KEYWORDS)", R"(<meta content="keywords">)"},
      {"<p>@#$LINE12</p>", "Welcome here"},  // one digit only
      {"@#$LINE2", "Wélkom"},
      {"@#$LINE3", ""},
      {"@#$LINEx", "@#$LINEx"},
      {"<p>@#$UPDATE@#$</p>", "Updated : 12-05-2026"},
      {"<p>@#$UPDATE@#$</p>", "Laatst bijgewerkt : 05-12-2026", nullptr, UpdateLineStyle::kDutch},
      {"<p>@#$UPDATE@#$</p>", "<p>@#$UPDATE@#$</p>", nullptr, UpdateLineStyle::kLeftAsIs}};
  const LanguageLines language_lines = {"", "Regel 01 : Welcome here  ", "Régel 02 ::Wélkom",
                                        "Regel 03 :"};
  for (const Case& c : cases) {
    PageColours colours{"#111111", "#222222", "#333333", "#444444"};
    PageTexts texts;
    texts.page_title = "Tom & <Jerry>";  // the user's own markup stays as it is
    texts.maker_name = "maker";
    texts.right_banner_image = "right image";
    texts.search_description = "description";
    texts.search_keywords = "keywords";
    texts.title_size = "size";
    if (c.adjust) c.adjust(texts, colours);
    const MergeSources sources{texts, colours, language_lines, c.update_line, {2026, 12, 5}};
    EXPECT_EQ(MergeLine(c.line, sources), c.merged) << c.line;
  }
}

}  // namespace
}  // namespace qv
