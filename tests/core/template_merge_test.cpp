#include "generator/template_merge.h"

#include <gtest/gtest.h>

#include "generator/side_files.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

Settings TestSettings() {
  Settings settings;
  settings.Text1 = {"#111111", "#222222", "#333333", "#444444"};
  for (int i = 0; i < kFieldCount; ++i) settings.T[i] = "T" + std::to_string(i);
  settings.T[kTitleField] = "Tom & <Jerry>";  // the user's own markup stays as it is
  return settings;
}

const LanguageLines kLanguageLines = {"", "Regel 01 : Welcome here  ", "Régel 02 ::Wélkom",
                                      "Regel 03 :"};

TEST(MergeLineTest, AppliesEachStepToItsFirstOccurrence) {
  struct Case {
    std::string line;
    std::string expected;
    void (*adjust)(Settings&) = nullptr;
    std::int16_t language_code = 0;
  };
  const Case cases[] = {
      {"#009933 #FFCC99 #003399 #FFFFF0 #FFFFFF", "#111111 #222222 #333333 #444444 #FFFFFF"},
      {"a #009933 b #009933", "a #111111 b #009933"},
      {"x#FFCC99y", "x#FFF   y", [](Settings& s) { s.Text1[1] = "#FFF"; }},
      {"x#FFCC99y", "x#ABCDEFy", [](Settings& s) { s.Text1[1] = "#ABCDEF12"; }},
      {"x#FFCC99y", "xéééééééy", [](Settings& s) { s.Text1[1] = "ééééééééé"; }},
      {"bg=#009933", "bg=#222222", [](Settings& s) { s.Text1[0] = "#FFCC99"; }},
      {"<h1>@#$TITEL@#$</h1>", "Tom & <Jerry>"},
      {"<h1>@#$titel@#$</h1>", "<h1>@#$titel@#$</h1>"},
      {"@#$TITEL@#$", "T7", [](Settings& s) { s.T[kTitleField] = "x @#$EMAIL@#$"; }},
      {"@#$TITEL@#$", "#009933", [](Settings& s) { s.T[kTitleField] = "#009933"; }},
      {"<img src=\"@#$LINK2GIF!@#\">", "T5"},
      {"by @#$CREATOR@#$", "T2"},
      {"@#$TSIZE@#$", "T13"},
      {R"(<meta name="description" content="@#$DESCRIPTION rest">)",
       R"(<meta name="description" content="T11">)"},
      {R"(<meta content="@#$KEYWORDS)", R"(<meta content="T12">)"},
      {"<p>@#$LINE12</p>", "Welcome here"},  // one digit only
      {"@#$LINE2", "Wélkom"},
      {"@#$LINE0", ""},
      {"@#$LINE3", ""},
      {"@#$LINEx", "@#$LINEx"},
      {"text @#$LINE", "text @#$LINE"},
      {"<p>@#$UPDATE@#$</p>", "Updated : 12-05-2026"},
      {"<p>@#$UPDATE@#$</p>", "Laatst bijgewerkt : 05-12-2026", nullptr, 1},
      {"<p>@#$UPDATE@#$</p>", "<p>@#$UPDATE@#$</p>", nullptr, 2},
  };
  for (const Case& c : cases) {
    Settings settings = TestSettings();
    if (c.adjust) c.adjust(settings);
    const MergeSources sources{settings, kLanguageLines, c.language_code, {2026, 12, 5}};
    EXPECT_EQ(MergeLine(c.line, sources), c.expected) << c.line;
  }
}

TEST(MergePageTest, WritesEveryLineMergedOrReportsWhyNot) {
  testing::TempFolder app;
  const Settings settings = TestSettings();
  const MergeSources sources{settings, kLanguageLines, 0, {2026, 12, 5}};
  EXPECT_FALSE(MergePage(app.path(), "page.html", sources).ok());
  EXPECT_FALSE(app.Exists("page.html"));  // no intermediate file, no page

  app.WriteFile(kIntermediateFileName, "<body bgcolor=\"#FFFFF0\">\r<h1>\n@#$TITEL@#$\r\n\r\nend");
  ASSERT_TRUE(MergePage(app.path(), "page.html", sources).ok());
  EXPECT_EQ(app.ReadFile("page.html"),
            testing::CrLfLines({"<body bgcolor=\"#444444\">", "<h1>", "Tom & <Jerry>", "", "end"}));

  const Status status = MergePage(app.path(), "missing/page.html", sources);
  EXPECT_NE(status.reason().find(app.Path("missing/page.html")), std::string::npos);
}

}  // namespace
}  // namespace qv
