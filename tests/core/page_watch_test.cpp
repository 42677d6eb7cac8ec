// Which changes rebuild the page, and the rebuild loop over real folders.
#include "run/page_watch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "settings/settings_file.h"
#include "support/fake_surroundings.h"
#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using std::chrono::milliseconds;
using testing::TempFolder;
constexpr auto Folder = testing::WithPlatformSeparators;

TEST(ChangeMattersTest, OnlyWhatTheNextRunReadsCounts) {
  const PageSources apart{Folder("/p/"), Folder("/f/"), "start.html", true};
  PageSources without_program_files = apart;
  without_program_files.program_files = false;
  const PageSources same{Folder("/p/"), Folder("/p/"), "start.html", true};
  const PageSources program_inside{Folder("/f/Prog/"), Folder("/f/"), "start.html", true};
  const PageSources deep{Folder("/p/"), Folder("/h/.u/Fav/"), "start.html", true};
  struct Case {
    const PageSources& sources;
    EntryChange change;
    bool matters;
  };
  const std::vector<Case> cases = {
      {apart, {Folder("/f/"), "News", true}, true},
      {apart, {Folder("/f/"), "notes.txt", false}, false},
      {apart, {Folder("/f/"), "", true}, true},
      {apart, {Folder("/f/"), ".News", true}, false},
      {apart, {Folder("/f/News/"), "Daily.url", false}, true},
      {apart, {Folder("/f/News/"), "Sub", true}, true},
      {apart, {Folder("/f/News/"), ".Daily.url.part", false}, false},
      {apart, {Folder("/f/News/Sub/"), "Deep.url", false}, false},
      {apart, {Folder("/p/"), "ins.txt", false}, true},
      {apart, {Folder("/p/"), "koptekst.txt", false}, true},
      {apart, {Folder("/p/"), "uk.txt", false}, true},
      {apart, {Folder("/p/"), "", true}, true},
      {apart, {Folder("/p/"), "ins.txt.a1b2c3", false}, false},
      {apart, {Folder("/p/"), "start.html", false}, false},
      {apart, {Folder("/p/"), "option.txt", false}, false},
      {apart, {Folder("/p/"), "mijnstart.tmp", false}, false},
      {apart, {Folder("/p/"), "mijnstart.tmp.k3x9q0", false}, false},
      {without_program_files, {Folder("/p/"), "ins.txt", false}, false},
      // The page written beside the category folders, or in one of them,
      // never calls for another run.
      {same, {Folder("/p/"), "start.html", true}, false},
      {same, {Folder("/p/"), "mijnstart.tmp", true}, false},
      {same, {Folder("/p/"), "News", true}, true},
      {program_inside, {Folder("/f/Prog/"), "start.html", false}, false},
      {program_inside, {Folder("/f/Prog/"), "option.txt", false}, false},
      {program_inside, {Folder("/f/Prog/"), "mijnstart.tmp.a1b2c3", false}, false},
      {program_inside, {Folder("/f/Prog/"), "Other.url", false}, true},
      // Folders on the way to the Favorites folder, hidden or not.
      {deep, {Folder("/h/.u/"), "Fav", true}, true},
      {deep, {Folder("/h/"), ".u", true}, true},
      {deep, {Folder("/h/"), "", true}, true},
      {deep, {Folder("/h/.u/"), "Fa", true}, false},
      {deep, {Folder("/h/.u/"), "Fav2", true}, false},
      {deep, {Folder("/h/.u/"), "FAV", true}, true},  // as Windows may spell it
      {deep, {Folder("/h/.u/"), "Fav", false}, false},
      {deep, {Folder("/h/.u/Fav/News/"), "", true}, true},
      // The program folder's own way counts when its files do.
      {apart, {Folder("/"), "p", true}, true},
      {without_program_files, {Folder("/"), "p", true}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChangeMatters(c.change, c.sources), c.matters)
        << c.change.folder << " " << c.change.name << " (favorites " << c.sources.favorites_folder
        << ")";
  }
}

TEST(FoldersToWatchTest, WatchesEachFolderOnceAndAMissingFavoritesFolderFromAbove) {
  TempFolder program, favorites;
  const std::string& p = program.path();
  const std::string& f = favorites.path();
  struct Case {
    PageSources sources;
    std::vector<WatchedFolder> folders;
  };
  const std::vector<Case> cases = {
      {{p, f, "p.html", true}, {{f, true}, {p, false}}},
      {{p, p, "p.html", true}, {{p, true}}},
      {{p, favorites.Path("gone/deeper/"), "p.html", true}, {{p, false}, {f, false}}},
      {{p, favorites.Path("gone/"), "p.html", false}, {{f, false}}},
      {{p, program.Path("gone/"), "p.html", true}, {{p, false}}},
      {{p, "", "p.html", false}, {}},
      // A missing program folder is waited for as well, once.
      {{program.Path("gone/"), f, "p.html", true}, {{f, true}, {p, false}}},
      {{program.Path("gone/"), program.Path("gone/fav/"), "p.html", true}, {{p, false}}},
      {{program.Path("gone/"), f, "p.html", false}, {{f, true}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FoldersToWatch(c.sources), c.folders) << c.sources.favorites_folder;
  }
}

// A watcher that cannot watch one folder, and keeps what it watches.
class RefusingWatcher : public FolderWatcher {
 public:
  explicit RefusingWatcher(std::string refused) : refused_(std::move(refused)) {}
  Status WatchFolders(const std::vector<WatchedFolder>& folders) override {
    watched.clear();
    for (const WatchedFolder& folder : folders) {
      if (folder.path == refused_) return Status::Error("cannot watch " + folder.path);
      watched.push_back(folder);
    }
    return Status::Ok();
  }
  Result<std::vector<EntryChange>> Wait(std::optional<milliseconds>) override {
    return std::vector<EntryChange>();
  }
  void Wake() override {}

  std::vector<WatchedFolder> watched;

 private:
  std::string refused_;
};

TEST(WatchSourcesTest, OnlyTheFolderAboveAMissingFavoritesFolderMayGoUnwatched) {
  TempFolder program, favorites;
  const PageSources missing{program.path(), favorites.Path("gone/"), "p.html", true};
  RefusingWatcher refusing_above(favorites.path());
  EXPECT_TRUE(WatchSources(refusing_above, missing).ok());
  EXPECT_EQ(refusing_above.watched, std::vector<WatchedFolder>({{program.path(), false}}));
  RefusingWatcher refusing_program(program.path());
  EXPECT_FALSE(WatchSources(refusing_program, missing).ok());
  const PageSources there{program.path(), favorites.path(), "p.html", true};
  RefusingWatcher refusing_favorites(favorites.path());
  EXPECT_FALSE(WatchSources(refusing_favorites, there).ok());
}

// A watcher under which the folder `going` is removed just as it is
// watched, as by a replacement between the look at it and its watch.
class VanishingWatcher : public RefusingWatcher {
 public:
  explicit VanishingWatcher(std::string going) : RefusingWatcher(going), going_(going) {}
  Status WatchFolders(const std::vector<WatchedFolder>& folders) override {
    const Status watching = RefusingWatcher::WatchFolders(folders);
    std::filesystem::remove_all(going_);
    return watching;
  }

 private:
  std::string going_;
};

TEST(WatchSourcesTest, AFolderThatGoesJustAsItIsWatchedIsWaitedFor) {
  TempFolder program, favorites;
  favorites.MakeFolder("Favorites");
  VanishingWatcher watcher(favorites.Path("Favorites/"));
  const PageSources sources{program.path(), favorites.Path("Favorites/"), "p.html", true};
  const Status watching = WatchSources(watcher, sources);
  EXPECT_TRUE(watching.ok()) << watching.reason();
  EXPECT_EQ(watcher.watched,
            std::vector<WatchedFolder>({{program.path(), false}, {favorites.path(), false}}));
}

// BuildAndWatch on a thread of its own over a temporary program folder.
class BuildAndWatchTest : public ::testing::Test {
 protected:
  void StartIn(const std::string& app_folder, const std::string& favorites_folder) {
    surroundings_ = std::make_unique<testing::FakeSurroundings>(app_folder);
    ProgramState saved;
    saved.settings.favorites_folder = favorites_folder;
    saved.settings.page_file_name = "start.html";
    ASSERT_TRUE(SaveSettings(saved, app_folder).ok());
    Result<std::unique_ptr<FolderWatcher>> watcher = FolderWatcher::Open();
    ASSERT_TRUE(watcher.ok());
    watcher_ = std::move(*watcher);
    loop_ = std::thread([this] {
      ProgramState state;
      outcome_ = BuildAndWatch(
          state, *surroundings_, *watcher_, [this] { return stop_.load(); },
          [this](const RunReport&) {
            std::lock_guard<std::mutex> lock(mutex_);
            ++builds_;
            built_.notify_all();
          },
          {milliseconds(100), milliseconds(1000)});
    });
  }

  ~BuildAndWatchTest() override {
    if (!loop_.joinable()) return;
    stop_ = true;
    watcher_->Wake();
    loop_.join();
    EXPECT_TRUE(outcome_.ok()) << outcome_.reason();
  }

  // Waits, with patience, until at least `count` runs are done.
  bool BuiltAtLeast(int count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return built_.wait_for(lock, std::chrono::seconds(10), [&] { return builds_ >= count; });
  }

  int Builds() {
    std::lock_guard<std::mutex> lock(mutex_);
    return builds_;
  }

  // Waits, with patience, until `condition` holds after a run.
  bool AfterARun(const std::function<bool()>& condition) {
    std::unique_lock<std::mutex> lock(mutex_);
    return built_.wait_for(lock, std::chrono::seconds(10), condition);
  }

  static bool Shows(const TempFolder& folder, const std::string& page, const std::string& text) {
    return folder.ReadFile(page).find(text) != std::string::npos;
  }

  TempFolder favorites_;
  std::unique_ptr<testing::FakeSurroundings> surroundings_;
  std::unique_ptr<FolderWatcher> watcher_;
  std::atomic<bool> stop_{false};
  Status outcome_ = Status::Ok();
  std::mutex mutex_;
  std::condition_variable built_;
  int builds_ = 0;
  std::thread loop_;
};

TEST_F(BuildAndWatchTest, ANewShortcutAndASavedSettingEachRebuildThePage) {
  TempFolder program;
  favorites_.WriteFile("News/Daily.url", "URL=http://daily.example/\r\n");
  StartIn(program.path(), favorites_.path());
  ASSERT_TRUE(BuiltAtLeast(1));
  favorites_.WriteFile("News/Weekly.url", "URL=http://weekly.example/\r\n");
  ASSERT_TRUE(BuiltAtLeast(2));
  EXPECT_NE(program.ReadFile("start.html").find("weekly.example"), std::string::npos);

  ProgramState saved;
  saved.settings.favorites_folder = favorites_.path();
  saved.settings.page_file_name = "other.html";
  ASSERT_TRUE(SaveSettings(saved, program.path()).ok());
  ASSERT_TRUE(BuiltAtLeast(3));
  EXPECT_TRUE(program.Exists("other.html"));
}

TEST_F(BuildAndWatchTest, AFavoritesFolderMadeWhileWatchingIsReadAndWatchedFromThenOn) {
  TempFolder program;
  StartIn(program.path(), favorites_.Path("Later/Favorites/"));
  ASSERT_TRUE(BuiltAtLeast(1));
  favorites_.WriteFile("Later/Favorites/News/Daily.url", "URL=http://daily.example/\r\n");
  ASSERT_TRUE(BuiltAtLeast(2));
  EXPECT_NE(program.ReadFile("start.html").find("daily.example"), std::string::npos);
  favorites_.WriteFile("Later/Favorites/News/Weekly.url", "URL=http://weekly.example/\r\n");
  ASSERT_TRUE(BuiltAtLeast(3));
  EXPECT_NE(program.ReadFile("start.html").find("weekly.example"), std::string::npos);
}

TEST_F(BuildAndWatchTest, APageWrittenInsideTheFavoritesFolderSetsOffNoRunOfItsOwn) {
  // The program folder is a category folder, so the page is one of its links.
  favorites_.WriteFile("Program/Daily.url", "URL=http://daily.example/\r\n");
  StartIn(favorites_.Path("Program/"), favorites_.path());
  ASSERT_TRUE(BuiltAtLeast(1));
  favorites_.WriteFile("Program/Weekly.url", "URL=http://weekly.example/\r\n");
  ASSERT_TRUE(BuiltAtLeast(2));
  // Far longer than a burst takes to settle.
  std::this_thread::sleep_for(milliseconds(1500));
  EXPECT_EQ(Builds(), 2);
}

// A folder removed and made again is the watcher's to follow, and one made
// while watching the loop's (above).
TEST_F(BuildAndWatchTest, FollowsAFavoritesFolderReplacedUnderItsPath) {
  TempFolder program;
  const auto page_shows = [&](const std::string& text) {
    return AfterARun([&] { return Shows(program, "start.html", text); });
  };
  favorites_.WriteFile("Favorites/News/One.url", "URL=http://one.example/\r\n");
  StartIn(program.path(), favorites_.Path("Favorites/"));
  ASSERT_TRUE(page_shows("one.example"));

  favorites_.WriteFile("New/News/Two.url", "URL=http://two.example/\r\n");
  std::filesystem::rename(favorites_.Path("Favorites"), favorites_.Path("Old"));
  std::filesystem::rename(favorites_.Path("New"), favorites_.Path("Favorites"));
  ASSERT_TRUE(page_shows("two.example"));
  favorites_.WriteFile("Favorites/News/Three.url", "URL=http://three.example/\r\n");
  EXPECT_TRUE(page_shows("three.example"));
}

TEST_F(BuildAndWatchTest, FollowsAProgramFolderReplacedRemovedAndMadeAgain) {
  TempFolder place;
  const std::string program = place.Path("Program/");
  const auto save = [&](const std::string& folder, const std::string& page) {
    ProgramState saved;
    saved.settings.favorites_folder = favorites_.path();
    saved.settings.page_file_name = page;
    return SaveSettings(saved, folder).ok();
  };
  favorites_.WriteFile("News/One.url", "URL=http://one.example/\r\n");
  place.MakeFolder("Program");
  StartIn(program, favorites_.path());
  ASSERT_TRUE(AfterARun([&] { return place.Exists("Program/start.html"); }));

  place.MakeFolder("New");
  ASSERT_TRUE(save(place.Path("New/"), "second.html"));
  std::filesystem::rename(place.Path("Program"), place.Path("Old"));
  std::filesystem::rename(place.Path("New"), place.Path("Program"));
  ASSERT_TRUE(AfterARun([&] { return place.Exists("Program/second.html"); }));
  ASSERT_TRUE(save(program, "third.html"));
  ASSERT_TRUE(AfterARun([&] { return place.Exists("Program/third.html"); }));

  EXPECT_FALSE(place.Exists("Old/second.html"));
  // On Windows a folder removed while a watch holds it open stays until the
  // watch lets go, and under Wine no watch is told.
  if (!testing::WithoutPosixFiles().empty()) return;
  std::filesystem::remove_all(place.Path("Program"));
  place.MakeFolder("Again");
  ASSERT_TRUE(save(place.Path("Again/"), "fourth.html"));
  std::filesystem::rename(place.Path("Again"), place.Path("Program"));
  EXPECT_TRUE(AfterARun([&] { return place.Exists("Program/fourth.html"); }));
}

TEST(BackgroundPageWatchTest, FollowsAFavoritesFolderReplacedWhileTheProgramRuns) {
  TempFolder place;
  place.MakeFolder("Favorites/News");
  std::mutex mutex;
  std::condition_variable changed;
  int changes = 0;
  auto watch = BackgroundPageWatch::Start(
      [&] {
        std::lock_guard<std::mutex> lock(mutex);
        ++changes;
        changed.notify_all();
      },
      {milliseconds(50), milliseconds(1000)});
  ASSERT_TRUE(watch.ok()) << watch.status().reason();
  (*watch)->Follow({place.path(), place.Path("Favorites/"), "p.html", false});
  // Whether the watch has taken up the folder yet is not told: changes are
  // made until one is heard of.
  const auto heard_after = [&](const std::string& shortcut) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::unique_lock<std::mutex> lock(mutex);
    const int before = changes;
    while (std::chrono::steady_clock::now() < give_up) {
      place.WriteFile(shortcut, "URL=http://x/\r\n");
      if (changed.wait_for(lock, milliseconds(200), [&] { return changes > before; })) return true;
    }
    return false;
  };
  ASSERT_TRUE(heard_after("Favorites/News/One.url"));

  place.MakeFolder("New/News");
  std::filesystem::rename(place.Path("Favorites"), place.Path("Old"));
  std::filesystem::rename(place.Path("New"), place.Path("Favorites"));
  // The replacement itself is heard of; what is written into the new folder
  // afterwards too.
  ASSERT_TRUE(heard_after("Favorites/News/Two.url"));
  EXPECT_TRUE(heard_after("Favorites/News/Three.url"));
}

}  // namespace
}  // namespace qv
