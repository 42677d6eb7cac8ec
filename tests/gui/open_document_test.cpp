// The maker's link, and what the user sees when the desktop cannot open it.
#include <QLabel>
#include <QTest>

#include "gui_fixture.h"

namespace qv::testing {
namespace {

using OpenDocumentTest = GuiProgramTest;

TEST_F(OpenDocumentTest, TheMakersLinkOpensTheSiteOrSaysWhyNot) {
  StartProgram();
  MessageBoxAnswerer answerer;
  auto& link = Find<QLabel>("makerLink");
  QTest::mouseClick(&link, Qt::LeftButton);
  EXPECT_EQ(opened_, std::vector<QString>{"https://www.qelmora.example/"});
  EXPECT_TRUE(answerer.seen.empty());

  open_succeeds_ = false;
  QTest::mouseClick(&link, Qt::LeftButton);
  ASSERT_EQ(answerer.seen.size(), 1u);
  EXPECT_EQ(answerer.seen[0].first, "Probleem");
  EXPECT_EQ(answerer.seen[0].second,
            "Opstarten bestand https://www.qelmora.example/ mislukt!!\r"
            "(geen koppeling met het programma, document bestaat niet meer)");
  EXPECT_TRUE(program_->settings_window().isVisible());
}

}  // namespace
}  // namespace qv::testing
