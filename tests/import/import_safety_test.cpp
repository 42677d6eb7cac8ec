// What an import never touches, whatever happens around it: folders swapped
// for links while it works, an import list forged to name the user's files,
// a second import at the same time, and what killed imports left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include "generator/folder_lock.h"
#include "generator/open_folder.h"
#include "import/favorites_import.h"
#include "import/import_into.h"
#include "import/import_manifest.h"
#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::TreeOf;
using Lines = std::vector<std::string>;

const SourceBookmarks kBefore = {
    {"Bar", {"News"}, "Daily", "http://daily.example/"},
    {"Bar", {"News"}, "Weekly", "http://weekly.example/"},
    {"Bar", {"News"}, "Gone", "http://gone.example/"},
    {"Bar", {"Sport"}, "Scores", "http://scores.example/"},
    {"Bar", {"Sport"}, "Tables", "http://tables.example/"},
};
// Every kind of change: changed, kept, added and removed files, a folder
// added and one removed.
const SourceBookmarks kAfter = {
    {"Bar", {"News"}, "Daily", "http://daily.example/new"},
    {"Bar", {"News"}, "Weekly", "http://weekly.example/"},
    {"Bar", {"News"}, "Fresh", "http://fresh.example/"},
    {"Bar", {"Travel"}, "Trains", "http://trains.example/"},
};

// Puts the category folders of `favorites` aside and links to copies of them
// in `outside` in their place: the same names and the same bytes, the
// importer's own to every look but where they lie.
void SwapCategoriesForLinks(const TempFolder& favorites, const TempFolder& outside) {
  for (const char* category : {"News", "Sport", "Travel"}) {
    if (!fs::is_directory(fs::symlink_status(favorites.Path(category)))) continue;
    fs::rename(favorites.Path(category), favorites.Path(std::string(category) + " aside"));
    ASSERT_TRUE(testing::MakeSymbolicLink(outside.Path(category), favorites.Path(category)));
  }
}

// Each step of a re-import in turn meets the folders swapped: nothing
// outside the Favorites folder changes, at any step.
TEST(ImportSafety, FoldersSwappedForLinksAtAnyStepLeaveWhatTheyLinkToAlone) {
  if (const std::string why = testing::WithoutPosixFiles(); !why.empty()) GTEST_SKIP() << why;
  bool swapped = true;
  for (int swap_at = 0; swapped; ++swap_at) {
    TempFolder favorites, outside;
    Import(kBefore, favorites);
    for (const auto& [path, contents] : TreeOf(favorites.path())) {
      if (contents != "/") outside.WriteFile(path, contents);
    }
    outside.MakeFolder("Travel");
    const auto outside_before = TreeOf(outside.path());

    const auto open = OpenFolder::Open(favorites.path());
    ASSERT_TRUE(open.ok());
    const auto sync = PlanSync(PlanFavorites(kAfter), &*open);
    ASSERT_TRUE(sync.ok());
    int step = 0;
    swapped = false;
    const Status applied = ApplySync(*sync, *open, [&] {
      if (step++ != swap_at) return;
      SwapCategoriesForLinks(favorites, outside);
      swapped = true;
    });
    EXPECT_EQ(TreeOf(outside.path()), outside_before) << "swapped before step " << swap_at;
    EXPECT_EQ(applied.reason().find('\n'), std::string::npos) << applied.reason();
  }
}

// A user's files named in a hand-made list with their right fingerprints,
// in a folder the list claims too: no file is the importer's unless it has
// the very shape the importer writes.
TEST(ImportSafety, AForgedListChangesAndRemovesNothingOfTheUsers) {
  TempFolder folder;
  const std::map<std::string, std::string> users = {
      {"Mine/diary.txt", "dear diary"},
      {"Mine/Bank.url",
       "[DEFAULT]\r\nBASEURL=https://bank.example/\r\n" + Shortcut("https://bank.example/")},
      {"Mine/Icon.url", Shortcut("http://icon.example/") + "IconIndex=1\r\n"},
      {"Mine/Bare.url", "URL=http://bare.example/\r\n"},
      {"Mine/Lf.url", "[InternetShortcut]\nURL=http://lf.example/\n"},
      {"Mine/Spaced.url", Shortcut("http://spaced.example/a b")},
  };
  ImportManifest forged;
  forged.folders = {"Mine"};
  for (const auto& [path, contents] : users) {
    folder.WriteFile(path, contents);
    forged.files[path] = {ContentFingerprint(contents)};
  }
  folder.WriteFile(".vorlindo-import", FormatManifest(forged));

  for (const SourceBookmarks& source :
       {SourceBookmarks{}, SourceBookmarks{{"Bar", {"Mine"}, "Bank", "https://other.example/"}}}) {
    Import(source, folder);
    for (const auto& [path, contents] : users) EXPECT_EQ(folder.ReadFile(path), contents) << path;
  }
  EXPECT_TRUE(folder.Exists("Mine/Bank (2).url"));
}

// A category folder the import took back stays while anything of the
// user's is in it, hidden things included; the dry run says the same.
TEST(ImportSafety, AFolderWithAnythingOfTheUsersInItStays) {
  const std::pair<const char*, const char*> cases[] = {
      {"Sport/mine.url", "Sport/mine.url"},
      {"Sport/.directory", "Sport/.directory"},
      {"Sport/notes/x.txt", "Sport/notes"},
  };
  for (const auto& [users_file, users_entry] : cases) {
    TempFolder folder;
    Import(kBefore, folder);
    folder.WriteFile(users_file, "the user's");
    const Lines planned = ChangeLines(Import(kAfter, folder, /*dry_run=*/true));
    const Lines made = ChangeLines(Import(kAfter, folder));
    EXPECT_EQ(planned, made) << users_file;
    EXPECT_EQ(std::count(made.begin(), made.end(), "remove folder  Sport"), 0) << users_file;
    EXPECT_EQ(folder.ReadFile(users_file), "the user's");
    // Once the user's file goes, so does the folder.
    fs::remove_all(folder.Path(users_entry));
    EXPECT_EQ(ChangeLines(Import(kAfter, folder)), Lines{"remove folder  Sport"}) << users_file;
  }
}

TEST(ImportSafety, ASecondImportWaitsForTheFirstAndNothingIsLeftOutOfTheList) {
  using std::chrono::milliseconds;
  TempFolder folder;
  std::future<Result<ImportSummary>> second;
  {
    const auto first = FolderLock::Acquire(folder.path(), milliseconds(0));
    ASSERT_TRUE(first.ok());
    if (!(*first)->held()) GTEST_SKIP() << "no locks in " << folder.path();
    second =
        std::async(std::launch::async, [&] { return ImportBookmarks(kBefore, folder.path(), {}); });
    EXPECT_EQ(second.wait_for(milliseconds(200)), std::future_status::timeout);
    EXPECT_TRUE(folder.Entries().empty());
  }
  ASSERT_EQ(second.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  EXPECT_TRUE(second.get().ok());

  // Two sources at once, again and again: whichever comes last, the folder
  // holds its links and every shortcut in it is on the list.
  for (int round = 0; round < 5; ++round) {
    std::thread other([&] { EXPECT_TRUE(ImportBookmarks(kAfter, folder.path(), {}).ok()); });
    EXPECT_TRUE(ImportBookmarks(kBefore, folder.path(), {}).ok());
    other.join();
  }
  Import(kBefore, folder);
  const ImportSummary again = Import(kBefore, folder, /*dry_run=*/true);
  EXPECT_TRUE(again.InStep());
  std::size_t shortcuts = 0;
  for (const auto& [path, contents] : TreeOf(folder.path())) shortcuts += path.ends_with(".url");
  EXPECT_EQ(shortcuts, kBefore.size());
}

TEST(ImportSafety, WhatKilledImportsLeftGoesAndSoDoFoldersItEmptied) {
  TempFolder folder;
  Import(kBefore, folder);
  const Lines leftovers = {".vorlindo.k3x9q0", ".vorlindo-import.a1b2c3", "News/.vorlindo.zz00zz",
                           "Sport/.vorlindo.abcdef"};
  for (const std::string& name : leftovers) folder.WriteFile(name, "half a file");
  // Not such leftovers: other names, and a folder of such a name.
  const Lines kept = {".vorlindo", "News/.vorlindo.notes", "News/.vorlindo-import.abc123",
                      "News/.vorlindo.aaaaaa/x"};
  for (const std::string& name : kept) folder.WriteFile(name, "the user's");

  const ImportSummary summary = Import(kAfter, folder);
  for (const std::string& name : leftovers) EXPECT_FALSE(folder.Exists(name)) << name;
  for (const std::string& name : kept) EXPECT_EQ(folder.ReadFile(name), "the user's") << name;
  // Sport held nothing but the importer's files and a leftover.
  EXPECT_FALSE(folder.Exists("Sport"));
  EXPECT_EQ(summary.removed, 3);
}

TEST(ImportSafety, ALeftoverThatIsALinkGoesItselfAndItsTargetStays) {
  if (const std::string why = testing::WithoutPosixFiles(); !why.empty()) GTEST_SKIP() << why;
  TempFolder folder, outside;
  Import(kBefore, folder);
  outside.WriteFile("precious", "kept");
  ASSERT_TRUE(
      testing::MakeSymbolicLink(outside.Path("precious"), folder.Path("News/.vorlindo.q1w2e3")));
  Import(kBefore, folder);
  EXPECT_FALSE(fs::is_symlink(folder.Path("News/.vorlindo.q1w2e3")));
  EXPECT_EQ(outside.ReadFile("precious"), "kept");
}

}  // namespace
}  // namespace qv::import
