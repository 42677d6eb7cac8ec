// The running program and its Favorites folder: following it on disk, and
// importing bookmarks into it.
#include <QApplication>
#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "gui_fixture.h"

namespace qv::testing {
namespace {

class FavoritesTest : public GuiProgramTest {
 protected:
  void SetUp() override { StartProgram(); }
};

TEST_F(FavoritesTest, ANewShortcutRefreshesThePreviewAndLeavesTheTypingAlone) {
  const int runs = Runs();
  auto& title = Find<QLineEdit>(FieldObjectName(TextField::kPageTitle));
  title.setFocus();
  QTest::keyClicks(&title, "Half ");
  const QString typed = title.text();
  ASSERT_NE(typed, "My Startpage");

  folder_.WriteFile("Favorites/Cats/Siamese.url", "URL=https://siamese.example/\r\n");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Runs() > runs; }, 10000));
  EXPECT_NE(Page().find("https://siamese.example/"), std::string::npos);
  EXPECT_EQ(title.text(), typed);
}

TEST_F(FavoritesTest, TheImportButtonOffersAFileAfterTheBrowsersFound) {
  auto& button = Find<QPushButton>("importBookmarksButton");
  EXPECT_EQ(button.text(), "&Import bookmarks...");
  QString last_offered;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    last_offered = dialog->comboBoxItems().value(dialog->comboBoxItems().size() - 1);
    dialog->reject();
  });
  answer.start(10);
  button.click();
  EXPECT_EQ(last_offered, "From a file...");
}

}  // namespace
}  // namespace qv::testing
