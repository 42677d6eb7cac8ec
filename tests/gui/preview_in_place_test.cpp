// The real browser view: a new version of the page on show that differs only
// in colours and such is changed in place, anything else loads as a new page,
// and either way the user stays where they had scrolled. Needs a display (run
// under xvfb-run).
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <filesystem>
#include <memory>
#include <string>

#include "gui_fixture.h"
#include "preview_pages.h"
#include "support/temp_folder.h"
#include "ui/web_engine_preview.h"

namespace qv::testing {
namespace {

struct Version {
  std::string colour = "#FFCC99";
  std::string words = "Cats";
  std::string title = "About me";  // which the page's script overwrites
  int rows = 60;
  std::string charset = "utf-8";
};

// A page taller than the window, with a script that sets a link's address
// and a title from the page's words, as the real page's mail link does.
std::string PageText(const Version& version) {
  std::string rows;
  for (int row = 0; row < version.rows; ++row) {
    rows += "<tr><td bgcolor=\"" + version.colour + "\">" + version.words + " " +
            std::to_string(row) + "</td></tr>\n";
  }
  return "<!DOCTYPE html>\n<html><head><meta charset=\"" + version.charset +
         "\"><title>Page</title>\n"
         "<style>td { height: 40px; }\n"
         ":root { --colour: " +
         version.colour +
         "; }</style></head>\n<body>\n"
         "<a id=\"mail\" href=\"mailto:\" title=\"" +
         version.title +
         "\">me@example.org</a>\n"
         "<script>var mail = document.getElementById('mail');"
         " mail.href = 'mailto:' + mail.textContent; mail.title = 'Write to me';</script>\n"
         "<noscript><img src=\"counter.gif\" alt=\"\"></noscript>\n<table>\n" +
         rows + "</table>\n</body></html>\n";
}

// What running `script` in the page on show gives.
QVariant Evaluate(WebEnginePreview& preview, const QString& script) {
  QVariant result;
  bool done = false;
  preview.view()->page()->runJavaScript(script, [&](const QVariant& value) {
    result = value;
    done = true;
  });
  if (!QTest::qWaitFor([&] { return done; }, 10000)) return QStringLiteral("no answer");
  return result;
}

// What `script` gives once it gives `expected`, or else after a few seconds:
// a colour painted ahead reaches the page at its next frame.
std::string EvaluateUntil(WebEnginePreview& preview, const QString& script,
                          const std::string& expected) {
  std::string result;
  static_cast<void>(QTest::qWaitFor(
      [&] { return (result = Evaluate(preview, script).toString().toStdString()) == expected; },
      5000));
  return result;
}

class PreviewInPlaceTest : public ::testing::Test {
 protected:
  PreviewInPlaceTest() {
    preview_.resize(640, 480);
    preview_.show();
  }

  // Writes `version` and has the preview show it; false when it never did.
  bool Show(const Version& version) {
    folder_.WriteFile("page.html", PageText(version));
    return ShowFile(folder_.Path("page.html"));
  }

  bool ShowFile(const std::string& path) { return ShowPageFile(preview_, path); }

  TempFolder folder_;
  WebEnginePreview preview_;
};

TEST_F(PreviewInPlaceTest, ChangesOnlyWhatThePageItselfLeftAloneInPlace) {
  struct Case {
    const char* name;
    Version next;
    bool in_place;
  };
  Version before;
  Version colour = before;
  colour.colour = "#3366FF";
  Version words = before;
  words.words = "Dogs";
  Version scripted = before;
  scripted.title = "About you";  // the script sets this one: only a new run of it knows
  Version longer = before;
  longer.rows = 61;
  Version charset = before;
  charset.charset = "windows-1252";  // read alike in both, but only a load reads it so
  const Case cases[] = {
      {"a colour", colour, true},
      {"the words", words, false},
      {"an attribute the page's script sets", scripted, false},
      {"a row more", longer, false},
      {"the character set", charset, false},
  };
  for (const Case& change : cases) {
    SCOPED_TRACE(change.name);
    ASSERT_TRUE(Show(before));
    Evaluate(preview_, QStringLiteral("window.scrollTo(0, 500)"));
    QWebEngineView* const view_before = preview_.view();

    ASSERT_TRUE(Show(change.next));
    EXPECT_EQ(preview_.view() == view_before, change.in_place);
    EXPECT_EQ(Evaluate(preview_, QStringLiteral("scrollY")).toInt(), 500);
    const QVariant cell = Evaluate(
        preview_,
        QStringLiteral("var cell = document.querySelectorAll('td')[5];"
                       "cell.getAttribute('bgcolor') + ' ' + cell.textContent + ' ' +"
                       "getComputedStyle(document.body).getPropertyValue('--colour').trim()"));
    EXPECT_EQ(cell.toString().toStdString(),
              change.next.colour + " " + change.next.words + " 5 " + change.next.colour);
    // What the page's script set is kept, or set again by a new run of it.
    const QVariant mail = Evaluate(preview_, QStringLiteral("mail.href + ' ' + mail.title"));
    EXPECT_EQ(mail.toString(), "mailto:me@example.org Write to me");
  }
}

TEST_F(PreviewInPlaceTest, ThePageOfTheProgramsTemplatesTakesNewColoursAndTitleSizeInPlace) {
  ProgramPage page(folder_);
  page.favorites.WriteFile("Cats/Tabby.url", "URL=https://cats.example/\r\n");
  ASSERT_TRUE(page.Build());
  ASSERT_TRUE(ShowFile(folder_.Path("mijnstart.html")));
  QWebEngineView* const view_before = preview_.view();

  // The window is narrow enough for the page's phone layout.
  const QString drawn = QStringLiteral(
      "var style = (selector) => getComputedStyle(document.querySelector(selector));"
      "[style('header').backgroundColor, style('td[bgcolor]').backgroundColor,"
      " style('tr + tr td[bgcolor]').backgroundColor,"
      " style('body').backgroundColor, style('#mail-link').color,"
      " style('tr + tr td[bgcolor] font[color]').color, style('h1').fontSize].join(' ')");
  const std::string colours =
      "rgb(139, 30, 63) rgb(46, 64, 87) rgb(214, 228, 240) rgb(244, 241, 222) rgb(46, 64, 87) "
      "rgb(46, 64, 87)";
  // The colours painted ahead, rule by rule in the style sheet, look as the
  // page written for them does, the rules that pick the cells by colour
  // included.
  const std::pair<const char*, const char*> changes[] = {{"#009933", "#8B1E3F"},
                                                         {"#FFCC99", "#D6E4F0"},
                                                         {"#003399", "#2E4057"},
                                                         {"#FFFFF0", "#F4F1DE"}};
  for (const auto& [old_code, new_code] : changes) preview_.AnticipateColour(old_code, new_code);
  EXPECT_EQ(EvaluateUntil(preview_, drawn, colours + " 27.2px"), colours + " 27.2px");

  Settings& settings = page.state.settings;
  settings.page_colour = "#8B1E3F";
  settings.link_cell_colour = "#D6E4F0";
  settings.header_cell_colour = "#2E4057";
  settings.background_colour = "#F4F1DE";
  settings.title_size = "2";
  ASSERT_TRUE(page.Build());
  ASSERT_TRUE(ShowFile(folder_.Path("mijnstart.html")));
  EXPECT_EQ(preview_.view(), view_before);
  EXPECT_EQ(Evaluate(preview_, drawn).toString().toStdString(), colours + " 19.2px");
}

// A held key asks for colours faster than a long page paints them: the asks
// of one frame are painted as one, and only in view; the page written for
// them paints the rest.
TEST_F(PreviewInPlaceTest, AColourPaintedAheadIsConfirmedOrCorrectedByItsPageInPlace) {
  const QString drawn = QStringLiteral(
      "var cells = document.querySelectorAll('td');"
      "var colour = (cell) => getComputedStyle(cell).backgroundColor;"
      "colour(cells[5]) + ' ' +"
      "getComputedStyle(document.body).getPropertyValue('--colour').trim() + ' ' +"
      "colour(cells[cells.length - 1])");
  const std::pair<const char*, const char*> written_pages[] = {{"#3366FF", "rgb(51, 102, 255)"},
                                                               {"#00AA00", "rgb(0, 170, 0)"}};
  for (const auto& [written, rgb] : written_pages) {
    SCOPED_TRACE(written);
    ASSERT_TRUE(Show(Version()));
    QWebEngineView* const view_before = preview_.view();
    preview_.AnticipateColour(QStringLiteral("#FFCC99"), QStringLiteral("#123456"));
    preview_.AnticipateColour(QStringLiteral("#123456"), QStringLiteral("#3366FF"));
    const std::string ahead = "rgb(51, 102, 255) #3366FF rgb(255, 204, 153)";
    EXPECT_EQ(EvaluateUntil(preview_, drawn, ahead), ahead);

    Version next;
    next.colour = written;
    ASSERT_TRUE(Show(next));
    EXPECT_EQ(preview_.view(), view_before);
    EXPECT_EQ(Evaluate(preview_, drawn).toString().toStdString(),
              std::string(rgb) + " " + written + " " + rgb);
  }
}

// Closing the program while a new version is being read: the page answers
// its pending script as it goes, which must not start another load.
TEST_F(PreviewInPlaceTest, APreviewGoesInTheMiddleOfAnUpdate) {
  auto preview = std::make_unique<WebEnginePreview>();
  preview->resize(320, 240);
  preview->show();
  folder_.WriteFile("page.html", PageText(Version()));
  QSignalSpy shown(preview.get(), &PagePreview::PageShown);
  preview->Navigate(QString::fromStdString(folder_.Path("page.html")));
  ASSERT_TRUE(shown.wait(30000));
  preview->Navigate(QString::fromStdString(folder_.Path("page.html")));
  preview.reset();
}

TEST_F(PreviewInPlaceTest, AFailedPageIsLoadedAnewOnceItsFileIsBack) {
  ASSERT_TRUE(Show(Version()));
  std::filesystem::remove(folder_.Path("page.html"));
  QSignalSpy shown(&preview_, &PagePreview::PageShown);
  preview_.Navigate(QString::fromStdString(folder_.Path("page.html")));
  ASSERT_TRUE(shown.wait(30000));
  EXPECT_FALSE(shown.takeFirst().at(0).toBool());

  Version blue;
  blue.colour = "#3366FF";
  ASSERT_TRUE(Show(blue));
  EXPECT_EQ(Evaluate(preview_, QStringLiteral("document.querySelector('td').bgColor")).toString(),
            "#3366FF");
}

}  // namespace
}  // namespace qv::testing
