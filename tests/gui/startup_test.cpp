// Start-up: the first page before any window, and one settings window however
// often the main window is activated.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "gui_fixture.h"
#include "ui/main_window.h"

namespace qv::testing {
namespace {

using StartupTest = GuiProgramTest;

TEST_F(StartupTest, TheFirstPageIsAskedForBeforeAnyWindowShowsAndOneSettingsWindowFollows) {
  StartProgram();
  ASSERT_EQ(Runs(), 1);
  EXPECT_EQ(preview_->requests[0].page_path.toStdString(), folder_.Path("mijnstart.html"));
  EXPECT_FALSE(preview_->requests[0].window_visible);
  EXPECT_TRUE(program_->main_window().isVisible());

  program_->main_window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&program_->main_window()));
  int settings_windows = 0;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    settings_windows += window->objectName() == "settingsWindow" && window->isVisible();
  }
  EXPECT_EQ(settings_windows, 1);
  // The settings window says where the page is.
  const auto* path = program_->settings_window().findChild<QLineEdit*>("pagePathField");
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(path->text().toStdString(), folder_.Path("mijnstart.html"));
}

}  // namespace
}  // namespace qv::testing
