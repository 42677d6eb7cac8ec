#include "generator/template_merge.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(MergeLineTest, AppliesEachStepInOrderToItsFirstOccurrence) {
  struct Case {
    std::string line, merged;
    void (*adjust)(Settings&) = nullptr;
    std::int16_t language_code = 0;
  };
  const Case cases[] = {
      {"#009933 #FFCC99 #003399 #FFFFF0 #009933", "#111111 #222222 #333333 #444444 #009933"},
      {"x#FFCC99y", "x#FFF   y", [](Settings& s) { s.Text1[1] = "#FFF"; }},
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
      {"@#$LINE3", ""},
      {"@#$LINEx", "@#$LINEx"},
      {"<p>@#$UPDATE@#$</p>", "<p>@#$UPDATE@#$</p>", nullptr, 2}};
  const LanguageLines language_lines = {"", "Regel 01 : Welcome here  ", "Régel 02 ::Wélkom",
                                        "Regel 03 :"};
  for (const Case& c : cases) {
    Settings settings;
    settings.Text1 = {"#111111", "#222222", "#333333", "#444444"};
    for (int i = 0; i < kFieldCount; ++i) settings.T[i] = "T" + std::to_string(i);
    settings.T[kTitleField] = "Tom & <Jerry>";  // the user's own markup stays as it is
    if (c.adjust) c.adjust(settings);
    const MergeSources sources{settings, language_lines, c.language_code, {2026, 12, 5}};
    EXPECT_EQ(MergeLine(c.line, sources), c.merged) << c.line;
  }
}

}  // namespace
}  // namespace qv
