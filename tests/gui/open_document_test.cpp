// What the user hands to the desktop: the maker's site and the page, and what
// the user sees, in the window's language, when the desktop cannot open it.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "gui_fixture.h"

namespace qv::testing {
namespace {

using OpenDocumentTest = GuiProgramTest;

TEST_F(OpenDocumentTest, TheDesktopOpensTheSiteAndThePageOrTheWindowSaysWhyNot) {
  WriteSettingsFile(" 1");
  StartProgram();
  const std::string page = folder_.Path("mijnstart.html");
  struct Case {
    const char* control;
    const char* flag;
    QString opened;
    const char* title;
    std::string text;
  };
  const Case cases[] = {
      {"makerLink", "dutchFlag", "https://www.qelmora.example/", "Probleem",
       "Opstarten bestand https://www.qelmora.example/ mislukt!!\r"
       "(geen koppeling met het programma, document bestaat niet meer)"},
      {"openInBrowserButton", "britishFlag", QUrl::fromLocalFile(page.c_str()).toString(),
       "Problem",
       "Opening " + page +
           " failed!!\r(no program is linked to it, or the document no longer exists)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    QTest::mouseClick(&Find(c.flag), Qt::LeftButton);
    MessageBoxAnswerer answerer;
    opened_.clear();
    open_succeeds_ = true;
    QTest::mouseClick(&Find(c.control), Qt::LeftButton);
    EXPECT_EQ(opened_, std::vector<QString>{c.opened});
    EXPECT_TRUE(answerer.seen.empty());

    open_succeeds_ = false;
    QTest::mouseClick(&Find(c.control), Qt::LeftButton);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].first, c.title);
    EXPECT_EQ(answerer.seen[0].second.toStdString(), c.text);
    EXPECT_TRUE(program_->settings_window().isVisible());
  }
}

}  // namespace
}  // namespace qv::testing
