#include "generator/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "generator/file_replacement.h"
#include "generator/folder_lock.h"
#include "generator/text_file.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using namespace std::string_literals;
using Names = std::vector<std::string>;

TEST(ListFolderTest, OnlyVisibleEntriesOfTheKindInNameOrderAndNothingBlocks) {
  testing::TempFolder folder;
  for (const char* name :
       {"banana", "Apple", "(A01) News", ".dot", "Cherry", "abc", "ABC", "a_b", "École"}) {
    folder.MakeFolder(std::string("sub/") + name);
  }
  for (const char* name : {"b.url", "A.url", ".hidden.url", "c.URL"}) {
    folder.WriteFile(std::string("sub/") + name, "URL=x\r\n");
  }
  const std::string sub = folder.Path("sub/");
  ASSERT_EQ(mkfifo((sub + "pipe.url").c_str(), 0644), 0);
  const char* links[][2] = {{"Cherry", "linked folder"},
                            {"b.url", "linked.url"},
                            {"gone", "x.url"},
                            {"pipe.url", "y.url"}};
  for (const auto& link : links) {
    ASSERT_EQ(symlink((sub + link[0]).c_str(), (sub + link[1]).c_str()), 0);
  }
  EXPECT_EQ(ListFolder(sub, EntryKind::kFolder),
            (Names{"(A01) News", "a_b", "ABC", "abc", "Apple", "banana", "Cherry", "linked folder",
                   "École"}));  // ASCII letters folded to lower case, ties by bytes
  EXPECT_EQ(ListFolder(folder.Path("sub"), EntryKind::kFile),
            (Names{"A.url", "b.url", "c.URL", "linked.url"}));
  EXPECT_TRUE(ListFolder(folder.Path("missing/"), EntryKind::kFolder).empty());
  const std::pair<const char*, bool> files[] = {{"A.url", true},        {"linked.url", true},
                                                {".hidden.url", false}, {"x.url", false},
                                                {"pipe.url", false},    {"Cherry", false}};
  for (const auto& [name, visible] : files) {
    EXPECT_EQ(VisibleFileExists(sub, name), visible) << name;
  }
  for (const char* name : {"pipe.url", "Cherry"}) {  // would block or fail on opening
    EXPECT_FALSE(ReadableFile::Open(sub + name).ok());
    EXPECT_TRUE(ReadLines(sub + name, 1, 1).empty());
  }
}

TEST(ListFolderTest, WindowsHiddenAndSystemAttributes) {
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
    if (setxattr(folder.Path(name).c_str(), "user.DOSATTRIB", value.data(), value.size(), 0) != 0) {
      GTEST_SKIP() << "no user extended attributes in " << folder.path();
    }
    EXPECT_EQ(VisibleFileExists(folder.path(), name), visible) << value;
    const Names files = ListFolder(folder.path(), EntryKind::kFile);
    EXPECT_EQ(std::count(files.begin(), files.end(), name), visible ? 1 : 0) << value;
  }
}

TEST(ReplaceFileTest, GivesTheRightModeOrOnFailureLeavesTheOldFile) {
  testing::TempFolder folder;
  const std::string path = folder.Path("ins.txt");
  folder.WriteFile("ins.txt", "old");
  chmod(path.c_str(), 0640);
  const mode_t mask = umask(022);  // a new file's mode is the umask's to decide
  ASSERT_TRUE(ReplaceFileAtomically(path, "new").ok());
  ASSERT_TRUE(ReplaceFileAtomically(folder.Path("new.txt"), "new").ok());
  umask(mask);
  struct stat info = {}, fresh = {};
  stat(path.c_str(), &info);
  stat(folder.Path("new.txt").c_str(), &fresh);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(fresh.st_mode & 07777, 0644u);
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
  chmod(folder.Path("old.url").c_str(), 0640);
  {
    FileReplacements abandoned;
    ASSERT_TRUE(abandoned.Stage(folder.Path("old.url"), "never").ok());
  }
  EXPECT_EQ(folder.Entries(), Names{"old.url"});

  FileReplacements replacements;
  ASSERT_TRUE(replacements.Stage(folder.Path("old.url"), "new").ok());
  ASSERT_TRUE(replacements.Stage(folder.Path("new.url"), "fresh").ok());
  EXPECT_FALSE(replacements.Stage(folder.Path("missing/x.url"), "x").ok());
  EXPECT_EQ(ListFolder(folder.path(), EntryKind::kFile), Names{"old.url"});
  EXPECT_EQ(folder.ReadFile("old.url"), "old");

  ASSERT_TRUE(replacements.Commit().ok());
  EXPECT_EQ(folder.Entries(), (Names{"new.url", "old.url"}));
  EXPECT_EQ(folder.ReadFile("old.url"), "new");
  EXPECT_EQ(folder.ReadFile("new.url"), "fresh");
  struct stat info = {};
  stat(folder.Path("old.url").c_str(), &info);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
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
  const Status status = (*blocked)->PutInPlace(folder.Path("folder.html"));
  EXPECT_NE(status.reason().find("cannot replace " + folder.Path("folder.html")),
            std::string::npos);
  blocked = Status::Error("dropped");
  EXPECT_EQ(folder.Entries(), (Names{"folder.html", "page.html"}));
}

}  // namespace
}  // namespace qv
