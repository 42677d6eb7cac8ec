// The folder watcher on the real file system, and the settling of bursts.
// Waits are generous: they bound a test that fails, they claim no speed.
#include "generator/folder_watcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "generator/file_system.h"
#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using std::chrono::milliseconds;
using testing::MakeSymbolicLink;
using testing::TempFolder;
using testing::WithoutPosixFiles;
namespace fs = std::filesystem;

constexpr milliseconds kPatience{10000};

// Collects the changes `watcher` tells of until one that `wanted` takes:
// every change seen, or none when it never came.
std::vector<EntryChange> ChangesUntil(FolderWatcher& watcher,
                                      const std::function<bool(const EntryChange&)>& wanted) {
  std::vector<EntryChange> seen;
  const auto give_up = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < give_up) {
    Result<std::vector<EntryChange>> changes = watcher.Wait(milliseconds(500));
    if (!changes.ok()) ADD_FAILURE() << changes.status().reason();
    if (!changes.ok()) return {};
    for (const EntryChange& change : *changes) {
      seen.push_back(change);
      if (wanted(change)) return seen;
    }
  }
  return {};
}

class FolderWatcherTest : public ::testing::Test {
 protected:
  FolderWatcherTest() {
    favorites_.WriteFile("News/Daily.url", "URL=http://d/\r\n");
    Result<std::unique_ptr<FolderWatcher>> opened = FolderWatcher::Open();
    EXPECT_TRUE(opened.ok()) << opened.status().reason();
    if (opened.ok()) watcher_ = std::move(*opened);
    const Status watching = watcher_->WatchFolders({{favorites_.path(), true}});
    EXPECT_TRUE(watching.ok()) << watching.reason();
  }

  std::string Sub(const std::string& name) { return favorites_.Path(name) + kPathSeparator; }

  // Collects changes until one equals `wanted`; every change seen, or an
  // empty list when it never came.
  std::vector<EntryChange> SeenUntil(const EntryChange& wanted) {
    return ChangesUntil(*watcher_, [&wanted](const EntryChange& change) {
      return change.folder == wanted.folder && change.name == wanted.name;
    });
  }

  bool Sees(const EntryChange& wanted) { return !SeenUntil(wanted).empty(); }

  TempFolder favorites_;
  std::unique_ptr<FolderWatcher> watcher_;
};

TEST_F(FolderWatcherTest, SeesEveryKindOfChangeInACategoryFolder) {
  struct Case {
    const char* what;
    std::function<void(TempFolder&)> act;
    const char* name;
  };
  const std::vector<Case> cases = {
      {"create", [](TempFolder& f) { f.WriteFile("News/New.url", "URL=http://n/\r\n"); },
       "New.url"},
      {"modify", [](TempFolder& f) { f.WriteFile("News/Daily.url", "URL=http://e/\r\n"); },
       "Daily.url"},
      {"rename",
       [](TempFolder& f) { fs::rename(f.Path("News/Daily.url"), f.Path("News/Renamed.url")); },
       "Renamed.url"},
      {"delete", [](TempFolder& f) { fs::remove(f.Path("News/Renamed.url")); }, "Renamed.url"},
  };
  for (const Case& c : cases) {
    c.act(favorites_);
    EXPECT_TRUE(Sees({Sub("News"), c.name, false})) << c.what;
  }
}

TEST_F(FolderWatcherTest, FollowsCategoryFoldersMadeRenamedAndRemovedWhileWatching) {
  favorites_.MakeFolder("Sport");
  ASSERT_TRUE(Sees({favorites_.path(), "Sport", true}));
  favorites_.WriteFile("Sport/Match.url", "URL=http://m/\r\n");
  EXPECT_TRUE(Sees({Sub("Sport"), "Match.url", false}));

  fs::rename(favorites_.Path("Sport"), favorites_.Path("Games"));
  ASSERT_TRUE(Sees({favorites_.path(), "Games", true}));
  favorites_.WriteFile("Games/Chess.url", "URL=http://c/\r\n");
  EXPECT_TRUE(Sees({Sub("Games"), "Chess.url", false}));

  fs::remove_all(favorites_.Path("Games"));
  EXPECT_TRUE(Sees({favorites_.path(), "Games", true}));
}

TEST_F(FolderWatcherTest, LeavesOutWhatLiesDeeperThanTheCategoryFolders) {
  favorites_.MakeFolder("News/Deep");
  ASSERT_TRUE(Sees({Sub("News"), "Deep", true}));
  favorites_.WriteFile("News/Deep/Hidden.url", "URL=http://h/\r\n");
  // A change written afterwards marks the end of what was seen of the first.
  favorites_.WriteFile("News/Marker.url", "URL=http://m/\r\n");
  for (const EntryChange& change : SeenUntil({Sub("News"), "Marker.url", false})) {
    EXPECT_NE(change.name, "Hidden.url") << change.folder;
  }
}

TEST_F(FolderWatcherTest, AWakeEndsAWaitWithoutLimit) {
  watcher_->Wake();
  Result<std::vector<EntryChange>> changes = watcher_->Wait(std::nullopt);
  ASSERT_TRUE(changes.ok());
  EXPECT_TRUE(changes->empty());
}

TEST_F(FolderWatcherTest, ABurstOfChangesSettlesAsOne) {
  for (int i = 0; i < 30; ++i) favorites_.WriteFile("News/" + std::to_string(i) + ".url", "x");
  const Result<bool> settled = WaitForSettledChanges(
      *watcher_, [](const EntryChange&) { return true; }, [] { return false; },
      {milliseconds(200), milliseconds(5000)});
  ASSERT_TRUE(settled.ok());
  EXPECT_TRUE(*settled);
  // The one settling took in the whole burst: nothing of it is left.
  const Result<std::vector<EntryChange>> left = watcher_->Wait(milliseconds(0));
  ASSERT_TRUE(left.ok());
  EXPECT_TRUE(left->empty()) << left->size() << " left, the first " << left->front().name;
}

// A watched Favorites folder in a folder of the test's own, where it can be
// replaced under its path.
class FollowedFolder {
 public:
  FollowedFolder() {
    Result<std::unique_ptr<FolderWatcher>> opened = FolderWatcher::Open();
    EXPECT_TRUE(opened.ok()) << opened.status().reason();
    if (opened.ok()) watcher_ = std::move(*opened);
  }

  const TempFolder& place() const { return place_; }

  bool Watch(const std::string& relative) {
    favorites_ = place_.Path(relative) + kPathSeparator;
    const Status watching = watcher_->WatchFolders({{favorites_, true}});
    EXPECT_TRUE(watching.ok()) << watching.reason();
    return watching.ok();
  }

  // Writes `name` into the category folder News of `folder` and collects
  // changes until one names it: every change seen, or none when it never
  // came within a generous time.
  std::vector<EntryChange> SeenUntilWrite(const std::string& folder, const std::string& name) {
    place_.WriteFile(folder + "News/" + name, "URL=http://w/\r\n");
    return ChangesUntil(*watcher_,
                        [&name](const EntryChange& change) { return change.name == name; });
  }

  // True when a file written into News of `folder` is seen as one of the
  // watched path.
  bool SeesWrite(const std::string& folder, const std::string& name) {
    const std::vector<EntryChange> seen = SeenUntilWrite(folder, name);
    return !seen.empty() && seen.back().folder == favorites_ + "News" + kPathSeparator;
  }

  // True once the watcher says that anything in the watched path may have
  // changed.
  bool SeesPathChange() {
    return !ChangesUntil(*watcher_, [this](const EntryChange& change) {
              return change.folder == favorites_ && change.name.empty();
            }).empty();
  }

 private:
  TempFolder place_;
  std::unique_ptr<FolderWatcher> watcher_;
  std::string favorites_;
};

TEST(FollowedFolderTest, FollowsTheFolderThatItsPathNamesWhateverHappensToIt) {
  struct Case {
    const char* what;
    // The Favorites folder first, where the test can still write to it after
    // it has been replaced ("Favorites/" when it is not left anywhere).
    const char* first;
    std::function<void(const TempFolder&)> replace;
    // Links, and removing a folder while a watch holds it open, which on
    // Windows stays until the watch lets go (and under Wine no watch is
    // told).
    bool posix_only;
  };
  const std::vector<Case> cases = {
      {"renamed away and another renamed in", "Old/",
       [](const TempFolder& place) {
         place.MakeFolder("New/News");
         fs::rename(place.Path("Favorites"), place.Path("Old"));
         fs::rename(place.Path("New"), place.Path("Favorites"));
       },
       false},
      {"removed and made again", "Favorites/",
       [](const TempFolder& place) {
         fs::remove_all(place.Path("Favorites"));
         place.MakeFolder("Favorites/News");
       },
       true},
      {"a link under its name pointed elsewhere", "First/",
       [](const TempFolder& place) {
         place.MakeFolder("Second/News");
         MakeSymbolicLink(place.Path("Second"), place.Path("Relinked"));
         fs::rename(place.Path("Relinked"), place.Path("Favorites"));
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.posix_only && !WithoutPosixFiles().empty()) continue;
    FollowedFolder watched;
    const std::string first = c.first;
    if (first == "First/") {
      watched.place().MakeFolder("First/News");
      ASSERT_TRUE(
          MakeSymbolicLink(watched.place().Path("First"), watched.place().Path("Favorites")));
    } else {
      watched.place().MakeFolder("Favorites/News");
    }
    ASSERT_TRUE(watched.Watch("Favorites"));
    ASSERT_TRUE(watched.SeesWrite("Favorites/", "Before.url"));

    c.replace(watched.place());
    EXPECT_TRUE(watched.SeesPathChange());
    EXPECT_TRUE(watched.SeesWrite("Favorites/", "After.url"));
    // The folder watched before is no longer taken for the path.
    if (first != "Favorites/") {
      watched.place().WriteFile(first + "News/Stale.url", "x");
      for (const EntryChange& change : watched.SeenUntilWrite("Favorites/", "Marker.url")) {
        EXPECT_NE(change.name, "Stale.url") << change.folder;
      }
    }
  }
}

TEST(FollowedFolderTest, WatchingTheSameFoldersAgainFindsWhatNoWatchSaw) {
  FollowedFolder watched;
  watched.place().MakeFolder("Home/User/Favorites/News");
  ASSERT_TRUE(watched.Watch("Home/User/Favorites"));
  // Two levels up: neither the folder nor the one above it is told.
  fs::rename(watched.place().Path("Home"), watched.place().Path("Moved"));
  watched.place().MakeFolder("Home/User/Favorites/News");
  ASSERT_TRUE(watched.Watch("Home/User/Favorites"));
  EXPECT_TRUE(watched.SeesWrite("Home/User/Favorites/", "New.url"));
}

TEST(ChangeBurstTest, SettlesAfterTheQuietTimeOrTheLongestWait) {
  using Clock = ChangeBurst::Clock;
  const Clock::time_point t0{};
  struct Case {
    std::vector<int> changes_at;  // milliseconds after t0
    int settles_at;
  };
  const std::vector<Case> cases = {
      {{0}, 300},
      {{0, 100, 250}, 550},
      {{0, 290, 580, 870}, 1170},
      // A trickle that never pauses for the quiet time settles at the cap.
      {{0, 250, 500, 750, 1000, 1250, 1500, 1750}, 2000},
  };
  for (const Case& c : cases) {
    ChangeBurst burst({milliseconds(300), milliseconds(2000)});
    EXPECT_FALSE(burst.Started());
    for (const int at : c.changes_at) burst.Changed(t0 + milliseconds(at));
    EXPECT_EQ(burst.SettlesAt(), t0 + milliseconds(c.settles_at)) << c.changes_at.size();
  }
}

TEST(FolderWatcherOpenTest, AMissingFolderCannotBeWatched) {
  Result<std::unique_ptr<FolderWatcher>> watcher = FolderWatcher::Open();
  ASSERT_TRUE(watcher.ok());
  TempFolder folder;
  const Status watching = (*watcher)->WatchFolders({{folder.Path("missing") + kPathSeparator}});
  EXPECT_FALSE(watching.ok());
  EXPECT_NE(watching.reason().find("missing"), std::string::npos) << watching.reason();
}

}  // namespace
}  // namespace qv
