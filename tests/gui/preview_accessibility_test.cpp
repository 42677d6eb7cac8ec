// The preview as a screen reader meets it: one document, the page on show,
// with the page's title and its links. Needs a display (run under xvfb-run).
#include <QAccessible>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "gui_fixture.h"
#include "run/start_page.h"
#include "support/fake_surroundings.h"
#include "support/temp_folder.h"
#include "ui/web_engine_preview.h"

namespace qv::testing {
namespace {

std::string PageWithLinks(const std::string& title, const std::vector<std::string>& links) {
  std::string page = "<!DOCTYPE html>\n<html><head><title>" + title + "</title></head><body>\n";
  for (const std::string& link : links) {
    page += "<p><a href=\"https://" + link + ".example/\">" + link + "</a></p>\n";
  }
  return page + "</body></html>\n";
}

// Every interface under `root` (itself included) that `wanted` takes.
std::vector<QAccessibleInterface*> Below(QAccessibleInterface* root,
                                         const std::function<bool(QAccessibleInterface*)>& wanted) {
  std::vector<QAccessibleInterface*> found;
  if (root == nullptr) return found;
  if (wanted(root)) found.push_back(root);

  for (int i = 0; i < root->childCount(); ++i) {
    for (QAccessibleInterface* below : Below(root->child(i), wanted)) found.push_back(below);
  }
  return found;
}

bool IsDocument(QAccessibleInterface* accessible) {
  return accessible->role() == QAccessible::WebDocument ||
         accessible->role() == QAccessible::Document;
}

class PreviewAccessibilityTest : public ::testing::Test {
 protected:
  PreviewAccessibilityTest() {
    preview_ = std::make_unique<WebEnginePreview>();
    // As when a screen reader starts: the engine, which exists by now,
    // builds the page's tree from then on.
    QAccessible::setActive(true);
    preview_->resize(640, 480);
    preview_->show();
  }
  ~PreviewAccessibilityTest() override {
    preview_.reset();
    QAccessible::setActive(false);
  }

  bool Show(const std::string& name, const std::string& text) {
    folder_.WriteFile(name, text);
    QSignalSpy shown(preview_.get(), &PagePreview::PageShown);
    preview_->Navigate(QString::fromStdString(folder_.Path(name)));
    return shown.wait(30000) && shown.takeFirst().at(0).toBool();
  }

  // The names of the links in the documents the preview offers, by document
  // name, once the engine has told of `link`.
  std::map<QString, std::set<QString>> DocumentsOnceTheyHold(const QString& link) {
    std::map<QString, std::set<QString>> documents;
    // What was there at the end tells the more when it never came.
    static_cast<void>(QTest::qWaitFor(
        [&] {
          documents.clear();
          QAccessibleInterface* preview = QAccessible::queryAccessibleInterface(preview_.get());
          for (QAccessibleInterface* document : Below(preview, IsDocument)) {
            auto& links = documents[document->text(QAccessible::Name)];
            for (QAccessibleInterface* found : Below(document, [](QAccessibleInterface* a) {
                   return a->role() == QAccessible::Link;
                 })) {
              links.insert(found->text(QAccessible::Name));
            }
          }
          for (const auto& [name, links] : documents) {
            if (links.count(link) != 0) return true;
          }
          return false;
        },
        20000));
    return documents;
  }

  TempFolder folder_;
  std::unique_ptr<WebEnginePreview> preview_;
};

TEST_F(PreviewAccessibilityTest, OnlyThePageOnShowIsOfferedWithItsTitleAndLinks) {
  ASSERT_TRUE(Show("cats.html", PageWithLinks("Cats", {"tabby", "siamese"})));
  using Documents = std::map<QString, std::set<QString>>;
  EXPECT_EQ(DocumentsOnceTheyHold("siamese"), (Documents{{"Cats", {"tabby", "siamese"}}}));

  // Another file loads in the view beneath, which then comes to the front;
  // the page before, still in the other view, is offered no more.
  ASSERT_TRUE(Show("dogs.html", PageWithLinks("Dogs", {"beagle"})));
  EXPECT_EQ(DocumentsOnceTheyHold("beagle"), (Documents{{"Dogs", {"beagle"}}}));
  QAccessibleInterface* preview = QAccessible::queryAccessibleInterface(preview_.get());
  ASSERT_EQ(preview->childCount(), 1);
  EXPECT_EQ(preview->child(0)->object(), preview_->view());
}

TEST_F(PreviewAccessibilityTest, ThePagesCategoriesAreHeadings) {
  for (const char* name : {"koptekst.txt", "voettekst.txt", "nl.txt", "uk.txt"}) {
    std::filesystem::copy_file(std::string(VORLINDO_DATA_FOLDER) + "/" + name, folder_.Path(name));
  }
  TempFolder favorites;
  favorites.WriteFile("(B01) News/Weather.url", "URL=https://weather.example/\r\n");
  favorites.WriteFile("Shops/Books.url", "URL=https://books.example/\r\n");
  FakeSurroundings surroundings(folder_.path());
  ProgramState state;
  state.settings.favorites_folder = favorites.path();
  ASSERT_TRUE(BuildStartPage(state, surroundings).page_status.ok());
  QSignalSpy shown(preview_.get(), &PagePreview::PageShown);
  preview_->Navigate(QString::fromStdString(folder_.Path("mijnstart.html")));
  ASSERT_TRUE(shown.wait(30000));

  std::set<QString> headings;
  static_cast<void>(QTest::qWaitFor(
      [&] {
        headings.clear();
        for (QAccessibleInterface* heading :
             Below(QAccessible::queryAccessibleInterface(preview_.get()),
                   [](QAccessibleInterface* a) { return a->role() == QAccessible::Heading; })) {
          // The page writes the categories in capitals.
          headings.insert(heading->text(QAccessible::Name).trimmed().toLower());
        }
        return headings.count("shops") != 0;
      },
      20000));
  // The page's title, then the categories; the links are none.
  EXPECT_EQ(headings, (std::set<QString>{"my startpage", "news", "shops"}));
}

}  // namespace
}  // namespace qv::testing
