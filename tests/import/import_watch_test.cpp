// vorlindo-import --watch over a real bookmarks file and Favorites folder.
#include "import/import_watch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "import/bookmark_readers.h"
#include "settings/program_state.h"
#include "settings/settings_file.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

using testing::TempFolder;
constexpr auto Folder = testing::WithPlatformSeparators;

TEST(StoreFilesTest, ABookmarkStoreChangesByItsNameAndItsWriteAheadLog) {
  const StoreFiles places = StoreFilesOf(Folder("/p/abc.default/places.sqlite"));
  EXPECT_EQ(places.folder, Folder("/p/abc.default/"));
  struct Case {
    const char* name;
    bool changed;
  };
  for (const Case& c : {Case{"places.sqlite", true}, Case{"places.sqlite-wal", true},
                        Case{"", true}, Case{"places.sqlite-shm", false},
                        Case{"favicons.sqlite", false}, Case{"Bookmarks", false}}) {
    EXPECT_EQ(StoreChanged({places.folder, c.name, false}, places), c.changed) << c.name;
  }
}

// Reads real files, so that the store can change under the watch.
class FileMachine : public ImportCommandSurroundings {
 public:
  std::string AppFolder() override { return program.path(); }
  std::string HomeFolder() override { return home.path(); }
  std::vector<BrowserProfile> BrowserProfiles() override { return {}; }
  Result<SourceBookmarks> ReadSource(const std::string& path) override {
    return ReadBookmarkSource(path);
  }
  TempFolder program, home, favorites, browser;
};

std::string BookmarksFile(const std::string& links) {
  return "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<H1>Bookmarks</H1>\n<DL><p>\n"
         "<DT><H3>News</H3>\n<DL><p>\n" +
         links + "</DL><p>\n</DL><p>\n";
}

bool Eventually(const std::function<bool()>& condition) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

TEST(WatchAndImportTest, ABookmarksFileReplacedByRenameIsImportedAgain) {
  FileMachine machine;
  ProgramState settings;
  settings.settings.favorites_folder = machine.favorites.path();
  ASSERT_TRUE(SaveSettings(settings, machine.program.path()).ok());
  machine.browser.WriteFile("Bookmarks.html",
                            BookmarksFile("<DT><A HREF=\"https://a.example/\">Alpha</A>\n"));
  auto watcher = FolderWatcher::Open();
  ASSERT_TRUE(watcher.ok());
  std::atomic<bool> stop{false};
  std::ostringstream out, err;
  int status = -1;
  std::thread loop([&] {
    ImportRequest request;
    request.source = machine.browser.Path("Bookmarks.html");
    status = WatchAndImport(
        request, machine, **watcher, [&] { return stop.load(); }, out, err);
  });

  EXPECT_TRUE(Eventually([&] { return machine.favorites.Exists("News/Alpha.url"); }));
  machine.browser.WriteFile("Bookmarks.new",
                            BookmarksFile("<DT><A HREF=\"https://b.example/\">Beta</A>\n"));
  std::filesystem::rename(machine.browser.Path("Bookmarks.new"),
                          machine.browser.Path("Bookmarks.html"));
  EXPECT_TRUE(Eventually([&] { return machine.favorites.Exists("News/Beta.url"); }));
  EXPECT_TRUE(Eventually([&] { return !machine.favorites.Exists("News/Alpha.url"); }));

  stop = true;
  (*watcher)->Wake();
  loop.join();
  EXPECT_EQ(status, 0) << err.str();
}

}  // namespace
}  // namespace qv::import
