// vorlindo-import --watch over real bookmarks files and Favorites folders.
#include "import/import_watch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include "generator/text_encoding.h"
#include "import/bookmark_readers.h"
#include "import/file_look.h"
#include "settings/program_state.h"
#include "settings/settings_file.h"
#include "support/fake_surroundings.h"
#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

using std::chrono::milliseconds;
using testing::TempFolder;
namespace fs = std::filesystem;
constexpr auto Folder = testing::WithPlatformSeparators;

TEST(StoreFilesTest, AStoreChangesByItsNameItsWriteAheadLogAndTheFoldersOnItsWay) {
  const StoreFiles places = StoreFilesOf(Folder("/p/abc.default/places.sqlite"));
  ASSERT_EQ(places.folders.size(), 1u);
  EXPECT_EQ(places.folders[0].folder, Folder("/p/abc.default/"));
  struct Case {
    const char* folder;
    const char* name;
    bool maybe_folder;
    bool changed;
  };
  for (const Case& c : {
           Case{"/p/abc.default/", "places.sqlite", false, true},
           Case{"/p/abc.default/", "places.sqlite-wal", false, true},
           Case{"/p/abc.default/", "", true, true},
           Case{"/p/abc.default/", "places.sqlite-shm", false, false},
           Case{"/p/abc.default/", "favicons.sqlite", false, false},
           Case{"/p/abc.default/", "Bookmarks", false, false},
           // The profile folder, or one above it, made or removed.
           Case{"/p/", "abc.default", true, true},
           Case{"/", "p", true, true},
           Case{"/p/", "xyz.default", true, false},
           Case{"/p/", "abc.default", false, false},
       }) {
    EXPECT_EQ(StoreChanged({Folder(c.folder), c.name, c.maybe_folder}, places), c.changed)
        << c.folder << c.name;
  }
}

TEST(StoreFilesTest, AStoreReachedThroughLinksChangesWhereEachLinkLiesToo) {
  if (const std::string why = testing::WithoutPosixFiles(); !why.empty()) GTEST_SKIP() << why;
  TempFolder place;
  place.WriteFile("real/places.sqlite", "x");
  place.MakeFolder("profile");
  place.MakeFolder("links");
  ASSERT_TRUE(testing::MakeSymbolicLink("../real/places.sqlite", place.Path("links/p.sqlite")));
  ASSERT_TRUE(
      testing::MakeSymbolicLink(place.Path("links/p.sqlite"), place.Path("profile/places.sqlite")));
  const StoreFiles store = StoreFilesOf(place.Path("profile/places.sqlite"));
  const std::vector<StoreFolder> expected = {
      {place.Path("profile/"), {"places.sqlite", "places.sqlite-wal"}},
      {place.Path("links/"), {"p.sqlite", "p.sqlite-wal"}},
      {place.Path("real/"), {"places.sqlite", "places.sqlite-wal"}}};
  EXPECT_EQ(store.folders, expected);
  // A profile folder that went is waited for in the folder above it.
  fs::remove_all(place.Path("profile"));
  EXPECT_EQ(StoreFoldersToWatch(StoreFilesOf(place.Path("profile/places.sqlite"))),
            std::vector<WatchedFolder>({{place.path(), false}}));
}

TEST(LookAtFileTest, TellsAWriteInTheSameSecondAndAFileRenamedOverIt) {
  TempFolder folder;
  folder.WriteFile("Bookmarks", "first");
  const std::string path = folder.Path("Bookmarks");
  const FileLook first = LookAtFile(path);
  EXPECT_EQ(first.kind, FileLook::Kind::kFile);
  EXPECT_EQ(first.size, 5u);
  EXPECT_EQ(LookAtFile(path), first);
  const fs::file_time_type written = fs::last_write_time(NativePath(path));

  const struct {
    const char* what;
    std::function<void()> change;
  } cases[] = {
      {"written again a millisecond later, at the same size",
       [&] {
         folder.WriteFile("Bookmarks", "again");
         fs::last_write_time(NativePath(path), written + milliseconds(1));
       }},
      {"a file renamed over it with the same bytes and time",
       [&] {
         folder.WriteFile("Bookmarks.new", "again");
         fs::last_write_time(NativePath(folder.Path("Bookmarks.new")), written + milliseconds(1));
         fs::rename(NativePath(folder.Path("Bookmarks.new")), NativePath(path));
       }},
  };
  FileLook before = first;
  for (const auto& c : cases) {
    c.change();
    const FileLook after = LookAtFile(path);
    EXPECT_NE(after, before) << c.what;
    before = after;
  }
  EXPECT_EQ(LookAtFile(folder.Path("missing")).kind, FileLook::Kind::kMissing);
  EXPECT_EQ(LookAtFile(folder.path()).kind, FileLook::Kind::kOther);
}

// Reads real files, so that the store can change under the watch, and counts
// the readings.
class FileMachine : public ImportCommandSurroundings {
 public:
  ProgramFolders Folders() override { return BesideTheExecutable(program.path()); }
  std::string HomeFolder() override { return home.path(); }
  FavoritesLookup& Favorites() override { return registry; }
  std::vector<BrowserProfile> BrowserProfiles() override { return {}; }
  Result<SourceBookmarks> ReadSource(const std::string& path) override {
    ++readings;
    // As SQLite does with the log of a database it reads.
    if (opens_log_to_write) std::ofstream(path + "-wal", std::ios::app).flush();
    return ReadBookmarkSource(path);
  }
  TempFolder program, home, favorites, browser;
  testing::FakeFavoritesLookup registry;  // names no folder
  std::atomic<int> readings{0};
  bool opens_log_to_write = false;
};

std::string BookmarksFile(const std::string& links) {
  return "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<H1>Bookmarks</H1>\n<DL><p>\n"
         "<DT><H3>News</H3>\n<DL><p>\n" +
         links + "</DL><p>\n</DL><p>\n";
}

std::string Link(const std::string& name) {
  return "<DT><A HREF=\"https://" + name + ".example/\">" + name + "</A>\n";
}

bool Eventually(const std::function<bool()>& condition) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(milliseconds(10));
  }
  return true;
}

// WatchAndImport on a thread of its own, with short settling times.
class WatchAndImportTest : public ::testing::Test {
 protected:
  WatchAndImportTest() {
    ProgramState settings;
    settings.settings.favorites_folder = machine_.favorites.path();
    EXPECT_TRUE(SaveSettings(settings, machine_.program.path()).ok());
  }

  void Start(const std::string& source) {
    auto watcher = FolderWatcher::Open();
    ASSERT_TRUE(watcher.ok());
    watcher_ = std::move(*watcher);
    loop_ = std::thread([this, source] {
      ImportRequest request;
      request.source = source;
      status_ = WatchAndImport(request, machine_, *watcher_, [this] { return stop_.load(); }, out_,
                               err_, {milliseconds(50), milliseconds(1000)});
    });
  }

  // Stops the watch; its exit status.
  int Stop() {
    stop_ = true;
    watcher_->Wake();
    loop_.join();
    return status_;
  }

  ~WatchAndImportTest() override {
    if (loop_.joinable()) Stop();
  }

  bool Imported(const std::string& name) {
    return Eventually([&] { return machine_.favorites.Exists("News/" + name + ".url"); });
  }

  // Replaces the file `relative` of the browser's folder the way browsers do:
  // written aside, renamed over it.
  void Replace(const std::string& relative, const std::string& bytes) {
    machine_.browser.WriteFile(relative + ".new", bytes);
    fs::rename(machine_.browser.Path(relative + ".new"), machine_.browser.Path(relative));
  }

  FileMachine machine_;
  std::unique_ptr<FolderWatcher> watcher_;
  std::atomic<bool> stop_{false};
  std::ostringstream out_, err_;
  int status_ = -1;
  std::thread loop_;
};

TEST_F(WatchAndImportTest, FollowsAProfileFolderRemovedOrRenamedAndMadeAgain) {
  machine_.browser.WriteFile("profile/Bookmarks.html", BookmarksFile(Link("Alpha")));
  Start(machine_.browser.Path("profile/Bookmarks.html"));
  ASSERT_TRUE(Imported("Alpha"));
  Replace("profile/Bookmarks.html", BookmarksFile(Link("Beta")));
  ASSERT_TRUE(Imported("Beta"));

  struct Case {
    const char* what;
    std::function<void(const TempFolder&)> take_away;
  };
  const std::vector<Case> cases = {
      {"removed", [](const TempFolder& browser) { fs::remove_all(browser.Path("profile")); }},
      {"renamed away",
       [](const TempFolder& browser) {
         fs::remove_all(browser.Path("old"));
         fs::rename(browser.Path("profile"), browser.Path("old"));
       }},
  };
  int made = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.take_away(machine_.browser);
    const std::string again = "Again" + std::to_string(++made);
    machine_.browser.WriteFile("profile/Bookmarks.html", BookmarksFile(Link(again)));
    ASSERT_TRUE(Imported(again));
    // The folder made again is watched from then on.
    const std::string later = "Later" + std::to_string(made);
    Replace("profile/Bookmarks.html", BookmarksFile(Link(later)));
    ASSERT_TRUE(Imported(later));
  }
  EXPECT_EQ(Stop(), 0) << err_.str();
}

TEST_F(WatchAndImportTest, FollowsALinkToItsTargetAndWhereverItIsPointed) {
  if (const std::string why = testing::WithoutPosixFiles(); !why.empty()) GTEST_SKIP() << why;
  machine_.browser.WriteFile("elsewhere/first.html", BookmarksFile(Link("Alpha")));
  machine_.browser.WriteFile("elsewhere/second.html", BookmarksFile(Link("Gamma")));
  machine_.browser.MakeFolder("profile");
  ASSERT_TRUE(testing::MakeSymbolicLink(machine_.browser.Path("elsewhere/first.html"),
                                        machine_.browser.Path("profile/Bookmarks.html")));
  Start(machine_.browser.Path("profile/Bookmarks.html"));
  ASSERT_TRUE(Imported("Alpha"));
  // The target changes where it lies, in another folder.
  Replace("elsewhere/first.html", BookmarksFile(Link("Beta")));
  ASSERT_TRUE(Imported("Beta"));
  // The link is pointed elsewhere, and the new target then counts.
  ASSERT_TRUE(testing::MakeSymbolicLink(machine_.browser.Path("elsewhere/second.html"),
                                        machine_.browser.Path("profile/relinked")));
  fs::rename(machine_.browser.Path("profile/relinked"),
             machine_.browser.Path("profile/Bookmarks.html"));
  ASSERT_TRUE(Imported("Gamma"));
  Replace("elsewhere/second.html", BookmarksFile(Link("Delta")));
  EXPECT_TRUE(Imported("Delta"));
  EXPECT_EQ(Stop(), 0) << err_.str();
}

TEST_F(WatchAndImportTest, ItsOwnReadingSetsOffNoReadingAgain) {
  machine_.opens_log_to_write = true;
  machine_.browser.WriteFile("Bookmarks.html", BookmarksFile(Link("Alpha")));
  Start(machine_.browser.Path("Bookmarks.html"));
  ASSERT_TRUE(Imported("Alpha"));
  // The log made by the first reading is one change to the store; after
  // that the readings stop: many times the time a burst takes to settle pass
  // without one (however slowly a busy machine makes the first ones).
  EXPECT_TRUE(Eventually([&] {
    const int readings = machine_.readings;
    std::this_thread::sleep_for(milliseconds(300));
    return readings >= 1 && machine_.readings == readings;
  }));
  Replace("Bookmarks.html", BookmarksFile(Link("Beta")));
  EXPECT_TRUE(Imported("Beta"));
}

// Every file under `folder` as it looks: written or replaced, it looks
// otherwise.
std::map<std::string, FileLook> Looks(const std::string& folder) {
  std::map<std::string, FileLook> looks;
  for (const auto& entry : fs::recursive_directory_iterator(NativePath(folder))) {
    looks[PathText(entry.path())] = LookAtFile(PathText(entry.path()));
  }
  return looks;
}

TEST_F(WatchAndImportTest, AReadingThatWouldChangeNothingWritesAndSaysNothing) {
  machine_.browser.WriteFile("Bookmarks.html", BookmarksFile(Link("Alpha")));
  Start(machine_.browser.Path("Bookmarks.html"));
  ASSERT_TRUE(Imported("Alpha"));
  ASSERT_TRUE(Eventually([&] { return machine_.favorites.Exists(".vorlindo-import"); }));
  const auto before = Looks(machine_.favorites.path());

  struct Case {
    const char* what;
    std::string bookmarks;
  };
  const std::vector<Case> cases = {
      {"the same bookmarks", BookmarksFile(Link("Alpha"))},
      // Other bookmarks, but none that the Favorites folder shows.
      {"a link that is never imported",
       BookmarksFile(Link("Alpha") + "<DT><A HREF=\"javascript:void(0)\">Script</A>\n")},
  };
  for (const Case& c : cases) {
    const int readings = machine_.readings;
    Replace("Bookmarks.html", c.bookmarks);
    EXPECT_TRUE(Eventually([&] { return machine_.readings > readings; })) << c.what;
  }
  Replace("Bookmarks.html", BookmarksFile(Link("Alpha") + Link("Beta")));
  ASSERT_TRUE(Imported("Beta"));
  EXPECT_EQ(Stop(), 0) << err_.str();

  auto after = Looks(machine_.favorites.path());
  after.erase(machine_.favorites.Path("News/Beta.url"));
  // Only the import that brought Beta wrote: the folder and the list. The
  // list's temporaries (".vorlindo-import.xxxxxx") come and go with its writes
  // and may be caught by the first look.
  for (const auto& [path, look] : before) {
    const bool the_list =
        fs::path(NativePath(path)).filename().string().starts_with(".vorlindo-import");
    if (the_list || path == machine_.favorites.Path("News")) continue;
    EXPECT_TRUE(after[path] == look) << path;
  }
  // The first import and the one that changed something say so; no other.
  const std::string said = out_.str();
  std::size_t reports = 0;
  for (std::size_t at = 0; (at = said.find("Bookmarks: ", at)) != std::string::npos; ++at) {
    ++reports;
  }
  EXPECT_EQ(reports, 2u) << said;
}

}  // namespace
}  // namespace qv::import
