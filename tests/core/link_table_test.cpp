#include "generator/link_table.h"

#include <gtest/gtest.h>

#include "generator/side_files.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using testing::CrLfLines;
using Lines = std::vector<std::string>;

LinkGrid GridOf(const std::vector<LinkGrid::Row>& rows) {
  LinkGrid grid;
  for (const LinkGrid::Row& row : rows) {
    grid.AddRow();
    for (int c = 0; c < LinkGrid::kColumnCount; ++c) grid.SetCell(grid.MaxRow(), c, row[c]);
  }
  return grid;
}

std::string Option(int number, const std::string& name) {
  return R"(<option value="#)" + std::to_string(number) +
         R"("><font face="Verdana, Arial, Helvetica, sans-serif" size="2">)" + name +
         "</font></option>";
}

Lines Row(const Lines& a, const Lines& b, const Lines& c) {
  Lines lines = {R"( <tr valign="top"> )"};
  lines.insert(lines.end(), a.begin(), a.end());
  lines.push_back(R"(<td width="1">&nbsp;</td>)");
  lines.insert(lines.end(), b.begin(), b.end());
  lines.push_back(R"(<td width="1%">&nbsp;</td>)");
  lines.insert(lines.end(), c.begin(), c.end());
  lines.push_back("</tr>");
  return lines;
}

// Header and footer lines around the rows; only the footer's exact marker
// lines give way to the jump list.
Lines Page(const Lines& rows, const Lines& options) {
  Lines lines = {"<html> @#$OPTION@#$", "<table>"};
  lines.insert(lines.end(), rows.begin(), rows.end());
  lines.push_back("</table>");
  lines.insert(lines.end(), options.begin(), options.end());
  lines.insert(lines.end(), {"@#$OPTION@#$ at start", " @#$option@#$"});
  lines.insert(lines.end(), options.begin(), options.end());
  return lines;
}

class LinkTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.WriteFile(kHeaderTemplateName, "<html> @#$OPTION@#$\r<table>\n");
    app_.WriteFile(kFooterTemplateName,
                   "</table>\r\n<select> @#$OPTION@#$ </select>\r\n@#$OPTION@#$ at start\r\n"
                   " @#$option@#$\r\nlast @#$OPTION@#$");
  }

  testing::TempFolder app_;
};

TEST_F(LinkTableTest, WritesEveryKindOfCellInEveryColumn) {
  const LinkGrid grid = GridOf({
      {";R&D <new>", "Daily", "", "", "http://b/?a=1&b=\"", ""},
      {"Paper", "", ";Travel", "http://a/", "", ""},
      {"", ";", "Say \"hi\"\nnow", "", "", "http://c/"},
  });
  ASSERT_TRUE(WriteLinkTable(grid, app_.path()).ok());

  const Lines header_a = {
      R"(<td width="1%" bgcolor="#003399" valign="top">&nbsp;</td>)",
      R"(<td width="31%" bgcolor="#003399"><b><font color="#FFFFFF" face="Verdana, Arial, Helvetica, sans - serif" size="2">)",
      "R&amp;D &lt;new&gt;", R"(<a name="1"></a></font></b></td>)"};
  const Lines link_a = {
      R"(<td width="1%" bgcolor="#FFCC99" valign="top"><font color="#FFFFFF" size="1">&#149;&nbsp;</font></td>)",
      R"(<td width="31%" bgcolor="#FFCC99"><font face="Verdana, Arial, Helvetica, sans-serif" size="2">)",
      R"(<a href="http://a/">)", "Paper", "</a> </font></td>"};
  const Lines empty_a = {R"(<td width="1%" height="19" valign="top">&nbsp;</td>)",
                         R"(<td width="31%" height="19"></td>)"};
  const Lines header_b = {
      R"(<td width="1%" bgcolor="#003399"></td>)",
      R"(<td width="31%" bgcolor="#003399"><b><font color="#FFFFFF" face="Verdana, Arial, Helvetica, sans-serif" size="2">)",
      "", R"(<a name="3"></a></font></b></td>)"};
  const Lines link_b = {
      R"(<td width="1%" bgcolor="#FFCC99"><font color="#FFFFFF" size="1">&#149;&nbsp;</font></td>)",
      R"(<td width="31%" bgcolor="#FFCC99"><font face="Verdana, Arial, Helvetica, sans-serif" size="2"><a href="http://b/?a=1&amp;b=&quot;">)",
      "Daily", "</a></font></td>"};
  const Lines empty_b = {R"(<td width="1%"></td>)", R"(<td width="31%"></td>)"};
  const Lines header_c = {
      R"(<td width="1%" bgcolor="#003399"></td>)",
      R"(<td width="33%" bgcolor="#003399"><b><font color="#FFFFFF" face="Verdana, Arial, Helvetica, sans-serif" size="2">)",
      "Travel", R"(<a name="2"></a></font></b></td>)"};
  const Lines link_c = {
      R"(<td width="1%" bgcolor="#FFCC99"><font color="#FFFFFF" size="1">&#149;&nbsp;</font></td>)",
      R"(<td width="33%" bgcolor="#FFCC99"><font face="Verdana, Arial, Helvetica, sans-serif" size="2"><a href="http://c/">)",
      "Say &quot;hi&quot;&#10;now", "</a></font></td>"};
  const Lines empty_c = {R"(<td width="1%"></td>)", R"(<td width="33%"></td>)"};

  Lines rows = Row(header_a, link_b, empty_c);
  for (const Lines& row : {Row(link_a, empty_b, header_c), Row(empty_a, header_b, link_c)}) {
    rows.insert(rows.end(), row.begin(), row.end());
  }
  const Lines options = {"", Option(1, "R&amp;D &lt;new&gt;"), Option(2, "Travel"), Option(3, "")};
  EXPECT_EQ(app_.ReadFile(kIntermediateFileName), CrLfLines(Page(rows, options)));
  EXPECT_EQ(app_.ReadFile(kOptionFileName), CrLfLines(options));
}

TEST_F(LinkTableTest, NoCategoriesGivesTemplatesAndAnEmptyJumpList) {
  ASSERT_TRUE(WriteLinkTable(LinkGrid(), app_.path()).ok());
  EXPECT_EQ(app_.ReadFile(kIntermediateFileName), CrLfLines(Page({}, {""})));
  EXPECT_EQ(app_.ReadFile(kOptionFileName), "\r\n");
}

TEST_F(LinkTableTest, ReportsTheFileThatCannotBeWritten) {
  const LinkGrid grid = GridOf({{";X", "", "", "", "", ""}});
  const Status no_folder = WriteLinkTable(grid, app_.Path("missing/"));
  EXPECT_NE(no_folder.reason().find(kIntermediateFileName), std::string::npos);

  app_.MakeFolder(kOptionFileName);
  const Status no_options = WriteLinkTable(grid, app_.path());
  EXPECT_NE(no_options.reason().find(kOptionFileName), std::string::npos);
  // The page still gets its jump list.
  EXPECT_NE(app_.ReadFile(kIntermediateFileName).find(Option(1, "X")), std::string::npos);
}

}  // namespace
}  // namespace qv
