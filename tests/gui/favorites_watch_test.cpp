// The running program follows its Favorites folder on disk.
#include <QLineEdit>
#include <QTest>

#include "gui_fixture.h"

namespace qv::testing {
namespace {

class FavoritesWatchTest : public GuiProgramTest {
 protected:
  void SetUp() override {
    WriteSettingsFile();
    StartProgram();
  }
};

TEST_F(FavoritesWatchTest, ANewShortcutRefreshesThePreviewAndLeavesTheTypingAlone) {
  const int runs = Runs();
  auto& title = Find<QLineEdit>(FieldObjectName(TextField::kPageTitle));
  title.setFocus();
  QTest::keyClicks(&title, "Half ");
  const QString typed = title.text();
  ASSERT_NE(typed, "My Startpage");
  const std::string saved = folder_.ReadFile("ins.txt");

  folder_.WriteFile("Favorites/Cats/Siamese.url", "URL=https://siamese.example/\r\n");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Runs() > runs; }, 10000));
  EXPECT_NE(Page().find("https://siamese.example/"), std::string::npos);
  EXPECT_EQ(title.text(), typed);
  EXPECT_EQ(folder_.ReadFile("ins.txt"), saved);
}

}  // namespace
}  // namespace qv::testing
