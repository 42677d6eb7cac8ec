// The real browser view as the preview: after the first run and after a
// rebuild it has loaded the new page. Needs a display (run under xvfb-run).
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

#include "gui_fixture.h"
#include "ui/web_engine_preview.h"

namespace qv::testing {
namespace {

using PreviewSmokeTest = GuiProgramTest;

TEST_F(PreviewSmokeTest, ThePreviewHasLoadedThePageAfterEveryRun) {
  auto* browser = new WebEnginePreview;
  QSignalSpy shown(browser, &PagePreview::PageShown);
  // True when the next page loaded. The browser engine moves only in a
  // running event loop, which the spy's wait runs.
  auto next_page_shown = [&shown] {
    return (!shown.isEmpty() || shown.wait(30000)) && shown.takeFirst().at(0).toBool();
  };
  WriteSettingsFile();
  program_ = std::make_unique<DesktopProgram>(surroundings_, browser);
  program_->Start();
  ASSERT_TRUE(next_page_shown());
  EXPECT_EQ(browser->view()->url(), QUrl::fromLocalFile(folder_.Path("mijnstart.html").c_str()));
  EXPECT_EQ(browser->view()->title(), "My Startpage");

  // The page keeps its file name, so the view must load it afresh.
  Find<QLineEdit>("pageTitleField").selectAll();
  QTest::keyClicks(&Find<QLineEdit>("pageTitleField"), "Dogs");
  QTest::mouseClick(&Find<QPushButton>("refreshButton"), Qt::LeftButton);
  ASSERT_TRUE(next_page_shown());
  EXPECT_EQ(browser->view()->title(), "Dogs");
}

}  // namespace
}  // namespace qv::testing
