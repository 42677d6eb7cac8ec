// What the windows show a user: a preview that fills its window, swatches that
// show the page's colour, and the way to a Favorites folder on first start.
#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui_fixture.h"
#include "ui/colour_swatch.h"
#include "ui/main_window.h"

namespace qv::testing {
namespace {

using GuidanceTest = GuiProgramTest;

TEST_F(GuidanceTest, ThePreviewFillsTheMainWindowAtAnySize) {
  StartProgram();
  MainWindow& window = program_->main_window();
  for (const QSize size : {QSize(703, 573), QSize(1200, 900), QSize(400, 300)}) {
    window.resize(size);
    QTest::qWait(0);
    EXPECT_EQ(preview_->geometry(), window.rect()) << size.width() << "x" << size.height();
  }
}

TEST_F(GuidanceTest, TheSwatchShowsTheColourThePageGetsFromTheTypedCode) {
  StartProgram();
  // How each colour's code is read is the page colour's own to say; here the
  // swatch follows it as the code is typed.
  struct Case {
    Colour colour;
    const char* typed;
    std::optional<QColor> shown;
    const char* tip;
  };
  const Case cases[] = {
      {Colour::kPage, "#FFF", QColor(255, 255, 255), "The page gets \"#FFF\"."},
      {Colour::kLinkCell, "darkgreen", QColor(0xDA, 0x00, 0xE0),
       "The page gets \"darkgre\". Only the first seven characters reach the page."},
      {Colour::kBackground, "#12", std::nullopt, "The page cannot use \"#12\" as a colour."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    auto& code = Find<QLineEdit>(CodeFieldObjectName(c.colour));
    code.selectAll();
    QTest::keyClicks(&code, c.typed);
    EXPECT_EQ(code.text(), c.typed);  // typing stays free
    auto& swatch = Find<ColourSwatch>(SwatchObjectName(c.colour));
    EXPECT_EQ(swatch.colour(), c.shown);
    EXPECT_EQ(swatch.toolTip(), c.tip);
  }
  QTest::mouseClick(&Find("dutchFlag"), Qt::LeftButton);
  EXPECT_EQ(Find(SwatchObjectName(Colour::kBackground)).toolTip(),
            "De pagina kan \"#12\" niet als kleur gebruiken.");
}

TEST_F(GuidanceTest, WithoutAFavoritesFolderTheFieldSaysWhatToDoAndTheChooserFillsIt) {
  // No settings file, and the surroundings know no Favorites folder.
  Start();
  auto& field = Find<QLineEdit>("favoritesFolderField");
  field.clear();
  QTest::mouseClick(&Find("britishFlag"), Qt::LeftButton);
  EXPECT_EQ(field.placeholderText(), "Choose your Favorites folder with ... or type its path");

  auto& choose = Find<QPushButton>("chooseFavoritesFolderButton");
  const int runs_before = Runs();
  chosen_folder_.clear();  // the user cancels
  QTest::mouseClick(&choose, Qt::LeftButton);
  EXPECT_EQ(Runs(), runs_before);
  EXPECT_TRUE(field.text().isEmpty());
  // Without a folder that is there, or with a relative one, the chooser starts
  // at home, never in the program's own folder.
  for (const std::string& typed :
       {std::string(), folder_.Path("Later"), std::string("Favorites")}) {
    field.selectAll();
    QTest::keyClick(&field, Qt::Key_Backspace);
    QTest::keyClicks(&field, QString::fromStdString(typed));
    QTest::mouseClick(&choose, Qt::LeftButton);
    EXPECT_EQ(chooser_starts_.back(), QDir::homePath()) << typed;
  }
  field.selectAll();
  QTest::keyClick(&field, Qt::Key_Backspace);

  chosen_folder_ = QString::fromStdString(folder_.Path("Favorites"));
  QTest::mouseClick(&choose, Qt::LeftButton);
  EXPECT_EQ(field.text(), chosen_folder_);
  EXPECT_EQ(Runs(), runs_before + 1);
  EXPECT_EQ(SettingsLine(7), chosen_folder_.toStdString());
  // The next choice starts where the last one ended.
  QTest::mouseClick(&choose, Qt::LeftButton);
  EXPECT_EQ(chooser_starts_.back(), chosen_folder_);
}

TEST_F(GuidanceTest, AFavoritesFolderThatIsNotThereIsMarkedUntilThePageFindsIt) {
  StartProgram();
  auto& mark = Find<QAction>("favoritesFolderMissingMark");
  EXPECT_FALSE(mark.isVisible());
  auto& field = Find<QLineEdit>("favoritesFolderField");
  field.selectAll();
  QTest::keyClicks(&field, QString::fromStdString(folder_.Path("Later")));
  QTest::keyClick(&field, Qt::Key_Return);
  EXPECT_TRUE(mark.isVisible());
  EXPECT_EQ(mark.toolTip(),
            "This folder is not there, so the page shows no categories. Create it, or choose "
            "another with ...");
  // A screen reader reads the warning with the field.
  const auto description = [&] {
    return QAccessible::queryAccessibleInterface(&field)->text(QAccessible::Description);
  };
  EXPECT_EQ(description(), mark.toolTip());
  folder_.WriteFile("Later/Cats/Tabby.url", "URL=http://tabby.example/\r\n");
  QTest::keyClick(&field, Qt::Key_Return);
  EXPECT_FALSE(mark.isVisible());
  EXPECT_NE(description(), mark.toolTip());
}

}  // namespace
}  // namespace qv::testing
