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
#include "preview_pages.h"
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

class PreviewAccessibilityTest : public ::testing::Test {
 protected:
  using Documents = std::map<QString, std::set<QString>>;

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

  bool ShowFile(const std::string& path) { return ShowPageFile(*preview_, path); }

  // The documents the preview offers, by name, each with the names of what
  // it holds in `role` (trimmed, in small letters), once one holds `awaited`.
  Documents Offered(QAccessible::Role role, const QString& awaited) {
    Documents documents;
    // What was there at the end tells the more when it never came.
    static_cast<void>(QTest::qWaitFor(
        [&] {
          documents.clear();
          for (QAccessibleInterface* document :
               Below(QAccessible::queryAccessibleInterface(preview_.get()),
                     [](auto* a) { return a->role() == QAccessible::WebDocument; })) {
            auto& names = documents[document->text(QAccessible::Name)];
            for (QAccessibleInterface* found :
                 Below(document, [role](auto* a) { return a->role() == role; })) {
              names.insert(found->text(QAccessible::Name).trimmed().toLower());
            }
            if (names.count(awaited) != 0) return true;
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
  folder_.WriteFile("cats.html", PageWithLinks("Cats", {"tabby", "siamese"}));
  ASSERT_TRUE(ShowFile(folder_.Path("cats.html")));
  EXPECT_EQ(Offered(QAccessible::Link, "siamese"), (Documents{{"Cats", {"tabby", "siamese"}}}));

  // Another file loads in the view beneath, which then comes to the front;
  // the page before, still in the other view, is offered no more.
  folder_.WriteFile("dogs.html", PageWithLinks("Dogs", {"beagle"}));
  ASSERT_TRUE(ShowFile(folder_.Path("dogs.html")));
  EXPECT_EQ(Offered(QAccessible::Link, "beagle"), (Documents{{"Dogs", {"beagle"}}}));
}

TEST_F(PreviewAccessibilityTest, ThePagesCategoriesAreHeadings) {
  ProgramPage page(folder_);
  page.favorites.WriteFile("(B01) News/Weather.url", "URL=https://weather.example/\r\n");
  page.favorites.WriteFile("Shops/Books.url", "URL=https://books.example/\r\n");
  ASSERT_TRUE(page.Build());
  ASSERT_TRUE(ShowFile(folder_.Path("mijnstart.html")));
  // The page's title, then the categories (the page writes them in
  // capitals); the links are none.
  EXPECT_EQ(Offered(QAccessible::Heading, "shops"),
            (Documents{{"My Startpage", {"my startpage", "news", "shops"}}}));
}

}  // namespace
}  // namespace qv::testing
