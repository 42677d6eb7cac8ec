// What the user hands to the desktop: the maker's site and the page, and what
// the user sees, in the window's language, when the desktop cannot open it.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <optional>

#include "gui_fixture.h"

namespace qv::testing {
namespace {

using OpenDocumentTest = GuiProgramTest;

TEST_F(OpenDocumentTest, TheDesktopOpensTheSiteAndThePageOrTheWindowSaysWhyNot) {
  StartProgram(" 1");
  const std::string page = folder_.Path("mijnstart.html");
  struct Case {
    const char* control;
    const char* flag;
    QString opened;
    const char* title;
    std::string text;
    std::string ended_at_once;  // added when the opener ends at once with code 3
  };
  const Case cases[] = {
      {"makerLink", "dutchFlag", "https://www.qelmora.example/", "Probleem",
       "Opstarten bestand https://www.qelmora.example/ mislukt!!\r"
       "(geen koppeling met het programma, document bestaat niet meer)",
       "\nHet programma dat het zou openen, stopte meteen met foutcode 3."},
      {"openInBrowserButton", "britishFlag", QUrl::fromLocalFile(page.c_str()).toString(),
       "Problem",
       "Opening " + page +
           " failed!!\r(no program is linked to it, or the document no longer exists)",
       "\nThe program that was to open it ended at once with error code 3."},
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
    // The opener took it but ended at once with a failure.
    ASSERT_TRUE(open_failed_);
    open_failed_(3);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].second.toStdString(), c.text + c.ended_at_once);
    answerer.seen.clear();

    open_succeeds_ = false;
    QTest::mouseClick(&Find(c.control), Qt::LeftButton);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].first, c.title);
    EXPECT_EQ(answerer.seen[0].second.toStdString(), c.text);
    EXPECT_TRUE(program_->settings_window().isVisible());
  }
}

// The desktop's opener as a program: one that fails at once is heard of with
// its exit code, one that succeeds or runs on is not.
TEST(ProgramOpenerTest, HearsOfAnOpenerThatEndsAtOnceWithAFailure) {
  struct Case {
    const char* program;
    std::optional<int> heard;
  };
  for (const Case& c :
       {Case{"false", 1}, Case{"true", std::nullopt}, Case{"no-such-opener-here", 127}}) {
    SCOPED_TRACE(c.program);
    std::optional<int> heard;
    bool finished = false;
    ASSERT_TRUE(ProgramOpener(c.program)(QUrl("https://a.example/"), [&](int exit_code) {
      heard = exit_code;
      finished = true;
    }));
    QTest::qWait(c.heard ? 0 : 500);
    if (c.heard) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 5000));
    }
    EXPECT_EQ(heard, c.heard);
  }
}

}  // namespace
}  // namespace qv::testing
