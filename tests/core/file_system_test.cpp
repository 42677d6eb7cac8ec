#include "generator/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "generator/file_replacement.h"
#include "generator/folder_lock.h"
#include "generator/open_folder.h"
#include "generator/text_file.h"
#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using namespace std::string_literals;
using Names = std::vector<std::string>;

// The files VisitFiles hands over, each with what it reads in pieces of
// `piece` bytes ("-" for a file handed over unopened).
std::vector<std::pair<std::string, std::string>> VisitedFiles(const std::string& folder,
                                                              std::size_t piece = 3) {
  std::vector<std::pair<std::string, std::string>> visited;
  VisitFiles(folder, [&](std::string name, ReadableFile* file) {
    std::string text = file == nullptr ? "-" : "";
    char buffer[64];
    while (file != nullptr) {
      const std::size_t count = file->Read(buffer, piece);
      if (count == 0) break;
      text.append(buffer, count);
    }
    visited.emplace_back(std::move(name), std::move(text));
  });
  return visited;
}

TEST(ListFolderTest, OnlyVisibleEntriesOfTheKindInNameOrderWhateverTheScript) {
  testing::TempFolder folder;
  for (const char* name : {"banana", "Apple", "(A01) News", "Cherry", "a_b", "École", "Новости",
                           "新闻", "😀 Fun", "hidden", "system"}) {
    folder.MakeFolder(std::string("sub/") + name);
  }
  for (const char* name : {"b.url", "A.url", "c.URL", "Ünï.url", "hidden.url", "system.url"}) {
    folder.WriteFile(std::string("sub/") + name, "URL=x\r\n");
  }
  const std::string sub = folder.Path("sub/");
  for (const char* name : {"hidden", "hidden.url", "system", "system.url"}) {
    const bool hidden = name[0] == 'h';
    if (!testing::MarkHiddenOrSystem(sub + name, hidden, !hidden)) {
      GTEST_SKIP() << "cannot mark entries hidden in " << folder.path();
    }
  }
  // ASCII letters folded to lower case, the rest in byte order.
  EXPECT_EQ(ListFolder(sub, EntryKind::kFolder),
            (Names{"(A01) News", "a_b", "Apple", "banana", "Cherry", "École", "Новости", "新闻",
                   "😀 Fun"}));
  EXPECT_EQ(ListFolder(folder.Path("sub"), EntryKind::kFile),
            (Names{"A.url", "b.url", "c.URL", "Ünï.url"}));
  EXPECT_TRUE(ListFolder(folder.Path("missing/"), EntryKind::kFolder).empty());
  const std::pair<const char*, bool> files[] = {{"A.url", true},       {"Ünï.url", true},
                                                {"hidden.url", false}, {"system.url", false},
                                                {"x.url", false},      {"Cherry", false}};
  for (const auto& [name, visible] : files) {
    EXPECT_EQ(VisibleFileExists(sub, name), visible) << name;
  }
  EXPECT_EQ(ReadLines(sub + "Ünï.url", 9, kLongestTextLine), Names{"URL=x"});
  // The scan's one pass over a folder hands over the same files, open.
  using Visited = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(VisitedFiles(sub), (Visited{{"A.url", "URL=x\r\n"},
                                        {"b.url", "URL=x\r\n"},
                                        {"c.URL", "URL=x\r\n"},
                                        {"Ünï.url", "URL=x\r\n"}}));
  EXPECT_TRUE(VisitedFiles(folder.Path("missing")).empty());
}

TEST(ListFolderTest, DotNamesLinksAndFifosAndNothingBlocks) {
  if (const std::string why = testing::WithoutPosixFiles(); !why.empty()) GTEST_SKIP() << why;
  testing::TempFolder folder;
  for (const char* name : {"Apple", ".dot", "Cherry", "abc", "ABC"}) {
    folder.MakeFolder(std::string("sub/") + name);
  }
  for (const char* name : {"b.url", ".hidden.url"}) {
    folder.WriteFile(std::string("sub/") + name, "URL=x\r\n");
  }
  const std::string sub = folder.Path("sub/");
  ASSERT_TRUE(testing::MakeFifo(sub + "pipe.url"));
  const char* links[][2] = {{"Cherry", "linked folder"},
                            {"b.url", "linked.url"},
                            {"gone", "x.url"},
                            {"pipe.url", "y.url"}};
  for (const auto& link : links) {
    ASSERT_TRUE(testing::MakeSymbolicLink(sub + link[0], sub + link[1]));
  }
  EXPECT_EQ(ListFolder(sub, EntryKind::kFolder),
            (Names{"ABC", "abc", "Apple", "Cherry", "linked folder"}));  // ties by bytes
  EXPECT_EQ(ListFolder(sub, EntryKind::kFile), (Names{"b.url", "linked.url"}));
  using Visited = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(VisitedFiles(sub), (Visited{{"b.url", "URL=x\r\n"}, {"linked.url", "URL=x\r\n"}}));
  const std::pair<const char*, bool> files[] = {
      {"linked.url", true}, {".hidden.url", false}, {"x.url", false}, {"pipe.url", false}};
  for (const auto& [name, visible] : files) {
    EXPECT_EQ(VisibleFileExists(sub, name), visible) << name;
  }
  for (const char* name : {"pipe.url", "Cherry"}) {  // would block or fail on opening
    EXPECT_FALSE(ReadableFile::Open(sub + name).ok());
    EXPECT_TRUE(ReadLines(sub + name, 1, 1).empty());
  }
}

TEST(ListFolderTest, WindowsHiddenAndSystemAttributes) {
  if (const std::string why = testing::WithoutPosixFiles(); !why.empty()) GTEST_SKIP() << why;
  testing::TempFolder folder;
  // Hidden (0x2) and system (0x4) bits count when the value is "0x" and hex
  // digits up to an optional zero byte; anything else is ignored.
  const std::pair<std::string, bool> cases[] = {
      {"0x22", false}, {"0x2\0junk"s, false}, {"0X126", false}, {"0x4", false},
      {"0xF", false},  {"0x20", true},        {"0x1", true},    {"0x", true},
      {"22", true},    {"0x2g", true},        {" 0x2", true},   {"\0\0\4"s, true}};
  int count = 0;
  for (const auto& [value, visible] : cases) {
    const std::string name = "file" + std::to_string(++count);
    folder.WriteFile(name, "");
    if (!testing::SetExtendedAttribute(folder.Path(name), "user.DOSATTRIB", value)) {
      GTEST_SKIP() << "no user extended attributes in " << folder.path();
    }
    EXPECT_EQ(VisibleFileExists(folder.path(), name), visible) << value;
    const Names files = ListFolder(folder.path(), EntryKind::kFile);
    EXPECT_EQ(std::count(files.begin(), files.end(), name), visible ? 1 : 0) << value;
  }
}

TEST(ReplaceFileTest, GivesTheRightModeOrOnFailureLeavesTheOldFile) {
  if (const std::string why = testing::WithoutPosixFiles(); !why.empty()) GTEST_SKIP() << why;
  testing::TempFolder folder;
  const std::string path = folder.Path("ins.txt");
  folder.WriteFile("ins.txt", "old");
  testing::SetFileMode(path, 0640);
  const unsigned mask = testing::SetCreationMask(022);  // a new file's mode is the mask's to decide
  ASSERT_TRUE(ReplaceFileAtomically(path, "new").ok());
  ASSERT_TRUE(ReplaceFileAtomically(folder.Path("new.txt"), "new").ok());
  testing::SetCreationMask(mask);
  EXPECT_EQ(testing::FileMode(path), 0640u);
  EXPECT_EQ(testing::FileMode(folder.Path("new.txt")), 0644u);
  const Status status = [&] {
    testing::FileSizeLimit limit(4);
    return ReplaceFileAtomically(path, "too long");
  }();
  EXPECT_NE(status.reason().find(path), std::string::npos) << status.reason();
  EXPECT_EQ(status.reason().find('\n'), std::string::npos);
  EXPECT_EQ(folder.ReadFile("ins.txt"), "new");
  EXPECT_EQ(folder.Entries(), (Names{"ins.txt", "new.txt"}));  // and no temporary file
}

TEST(ReplaceFileTest, WorksForTheLongestNameTheFolderTakes) {
  testing::TempFolder folder;
  const std::string name(255, 'x');  // a temporary named after it would be too long
  ASSERT_TRUE(ReplaceFileAtomically(folder.Path(name), "new").ok());
  EXPECT_EQ(folder.ReadFile(name), "new");
  EXPECT_EQ(folder.Entries(), Names{name});
}

TEST(FileReplacementsTest, NothingShowsBeforeTheCommitAndNothingStaysWithoutOne) {
  testing::TempFolder folder;
  folder.WriteFile("old.url", "old");
  folder.WriteFile("taken.url", "the user's");
  folder.WriteFile("edited.url", "edited by the user");
  testing::SetFileMode(folder.Path("old.url"), 0640);
  const Result<OpenFolder> open = OpenFolder::Open(folder.path());
  ASSERT_TRUE(open.ok()) << open.status().reason();
  {
    FileReplacements abandoned;
    ASSERT_TRUE(abandoned.Stage(*open, "old.url", "never").ok());
  }
  EXPECT_EQ(folder.Entries(), (Names{"edited.url", "old.url", "taken.url"}));

  FileReplacements replacements;
  ASSERT_TRUE(replacements.Stage(*open, "old.url", "new").ok());
  ASSERT_TRUE(replacements.Stage(*open, "new.url", "fresh", ReplacementFile::Existing::kKeep).ok());
  // Looked at again right before: a file no longer wanted leaves what is there.
  ASSERT_TRUE(replacements
                  .Stage(*open, "edited.url", "ours", ReplacementFile::Existing::kReplace,
                         [] { return false; })
                  .ok());
  EXPECT_EQ(ListFolder(folder.path(), EntryKind::kFile),
            (Names{"edited.url", "old.url", "taken.url"}));
  EXPECT_EQ(folder.ReadFile("old.url"), "old");

  ASSERT_TRUE(replacements.Commit().ok());
  EXPECT_EQ(folder.Entries(), (Names{"edited.url", "new.url", "old.url", "taken.url"}));
  EXPECT_EQ(folder.ReadFile("old.url"), "new");
  EXPECT_EQ(folder.ReadFile("new.url"), "fresh");
  EXPECT_EQ(folder.ReadFile("edited.url"), "edited by the user");

  // A new file never replaces one that took its name meanwhile.
  ASSERT_TRUE(
      replacements.Stage(*open, "taken.url", "ours", ReplacementFile::Existing::kKeep).ok());
  EXPECT_NE(replacements.Commit().reason().find("taken.url"), std::string::npos);
  EXPECT_EQ(folder.ReadFile("taken.url"), "the user's");
  if (testing::WithoutPosixFiles().empty()) {
    EXPECT_EQ(testing::FileMode(folder.Path("old.url")), 0640u);
  }
}

TEST(FolderLockTest, ASecondRunWaitsAndGivesUpWithAReasonAndNothingStaysBehind) {
  testing::TempFolder folder;
  using std::chrono::milliseconds;
  // Another thread, as Windows hands its lock to the thread that holds it.
  const auto acquire_elsewhere = [&](milliseconds wait) {
    Status status = Status::Ok();
    std::thread([&] { status = FolderLock::Acquire(folder.path(), wait).status(); }).join();
    return status;
  };
  {
    auto first = FolderLock::Acquire(folder.path(), milliseconds(0));
    ASSERT_TRUE(first.ok());
    ASSERT_TRUE((*first)->held());
    const auto start = std::chrono::steady_clock::now();
    const Status second = acquire_elsewhere(milliseconds(200));
    EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(200));
    EXPECT_NE(second.reason().find("another run is building the page in " + folder.path()),
              std::string::npos)
        << second.reason();
  }
  EXPECT_TRUE(acquire_elsewhere(milliseconds(0)).ok());
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(ReplacementFileTest, StaysAsideUntilPutInPlaceAndLeavesNothingWhenDropped) {
  testing::TempFolder folder;
  folder.WriteFile("page.html", "old");
  {
    auto dropped = ReplacementFile::Create(folder.path(), "page.html", "the page");
    ASSERT_TRUE(dropped.ok());
    ASSERT_TRUE((*dropped)->Append("half a pa").ok());
    EXPECT_EQ(folder.Entries().size(), 2u);
    EXPECT_TRUE(IsTemporaryFileName(folder.Entries()[1], "page.html")) << folder.Entries()[1];
  }
  EXPECT_EQ(folder.Entries(), Names{"page.html"});
  EXPECT_EQ(folder.ReadFile("page.html"), "old");

  folder.MakeFolder("folder.html");
  auto blocked = ReplacementFile::Create(folder.path(), "x", folder.Path("folder.html"));
  ASSERT_TRUE(blocked.ok());
  const Status status = (*blocked)->PutInPlace("folder.html");
  EXPECT_NE(status.reason().find("cannot replace " + folder.Path("folder.html")),
            std::string::npos);
  blocked = Status::Error("dropped");
  EXPECT_EQ(folder.Entries(), (Names{"folder.html", "page.html"}));
}

}  // namespace
}  // namespace qv
