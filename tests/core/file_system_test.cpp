#include "generator/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "generator/text_file.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using Names = std::vector<std::string>;

TEST(FileNameTest, PlainNamesAndTrailingSeparator) {
  EXPECT_TRUE(IsPlainFileName("my page.html"));
  EXPECT_TRUE(IsPlainFileName("..."));
  const std::string rejected[] = {"", ".", "..", "a/b", "/x", "a\\b", std::string("a\0b", 3)};
  for (const auto& name : rejected) EXPECT_FALSE(IsPlainFileName(name)) << name;
  EXPECT_EQ(WithTrailingSeparator("/fav"), "/fav/");
  EXPECT_EQ(WithTrailingSeparator("/fav/"), "/fav/");
}

TEST(ListFolderTest, KindsOrderAndLinks) {
  testing::TempFolder folder;
  for (const char* name : {"banana", "Apple", "(A01) News", ".dot", "Cherry"}) {
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
  for (const auto& link : links)
    ASSERT_EQ(symlink((sub + link[0]).c_str(), (sub + link[1]).c_str()), 0);

  EXPECT_EQ(ListFolder(sub, EntryKind::kFolder),
            (Names{"(A01) News", "Apple", "banana", "Cherry", "linked folder"}));
  EXPECT_EQ(ListFolder(folder.Path("sub"), EntryKind::kFile),
            (Names{"A.url", "b.url", "c.URL", "linked.url"}));
  EXPECT_TRUE(ListFolder(folder.Path("missing/"), EntryKind::kFolder).empty());
}

TEST(ListFolderTest, WindowsHiddenAndSystemAttributes) {
  testing::TempFolder folder;
  folder.WriteFile("probe", "");
  if (setxattr(folder.Path("probe").c_str(), "user.DOSATTRIB", "0x20", 4, 0) != 0) {
    GTEST_SKIP() << "no user extended attributes in " << folder.path();
  }
  // Hidden (0x2) and system (0x4) bits count when the value is "0x" and hex
  // digits up to an optional zero byte; anything else is ignored.
  const std::string hidden[] = {"0x22", std::string("0x2\0junk", 8), "0x4", "0X126", "0xF"};
  const std::string shown[] = {"0x20", "0x1", "0x", "22", "0x2g", " 0x2", std::string("\0\0\4", 3)};
  int count = 0;
  const auto check = [&](const std::string& value, bool visible) {
    const std::string name = "file" + std::to_string(++count);
    folder.WriteFile(name, "");
    ASSERT_EQ(setxattr(folder.Path(name).c_str(), "user.DOSATTRIB", value.data(), value.size(), 0),
              0);
    EXPECT_EQ(VisibleFileExists(folder.path(), name), visible) << value;
    const Names files = ListFolder(folder.path(), EntryKind::kFile);
    EXPECT_EQ(std::count(files.begin(), files.end(), name), visible ? 1 : 0) << value;
  };
  for (const auto& value : hidden) check(value, false);
  for (const auto& value : shown) check(value, true);
}

TEST(FileAccessTest, NonRegularFilesNeitherOpenNorBlock) {
  testing::TempFolder folder;
  ASSERT_EQ(mkfifo(folder.Path("pipe.url").c_str(), 0644), 0);
  folder.MakeFolder("folder.url");
  for (const char* name : {"pipe.url", "folder.url"}) {
    std::string error;
    EXPECT_EQ(ReadableFile::Open(folder.Path(name), &error), nullptr);
    EXPECT_NE(error.find(folder.Path(name)), std::string::npos);
    EXPECT_EQ(WritableFile::Open(folder.Path(name), &error), nullptr);
    EXPECT_TRUE(ReadLines(folder.Path(name), 10).empty());
    EXPECT_FALSE(VisibleFileExists(folder.path(), name));
  }
}

TEST(FileAccessTest, VisibleFileExistsAndRemoveFile) {
  testing::TempFolder folder;
  folder.WriteFile("ins.txt", "x");
  folder.WriteFile(".ins.txt", "x");
  EXPECT_TRUE(VisibleFileExists(folder.path(), "ins.txt"));
  EXPECT_FALSE(VisibleFileExists(folder.path(), ".ins.txt"));
  EXPECT_TRUE(RemoveFile(folder.Path("ins.txt")));
  EXPECT_FALSE(folder.Exists("ins.txt"));
  EXPECT_TRUE(RemoveFile(folder.Path("ins.txt")));
  folder.MakeFolder("dir");
  EXPECT_FALSE(RemoveFile(folder.Path("dir")));
  EXPECT_TRUE(folder.Exists("dir"));
}

TEST(ReplaceFileTest, WritesNewFilesAndKeepsPermissions) {
  testing::TempFolder folder;
  const mode_t mask = umask(022);
  ASSERT_TRUE(ReplaceFileAtomically(folder.Path("new.txt"), "fresh").ok());
  folder.WriteFile("old.txt", "old");
  chmod(folder.Path("old.txt").c_str(), 0640);
  ASSERT_TRUE(ReplaceFileAtomically(folder.Path("old.txt"), "replaced").ok());
  umask(mask);

  const auto mode = [&](const char* name) {
    struct stat info = {};
    stat(folder.Path(name).c_str(), &info);
    return info.st_mode & 07777;
  };
  EXPECT_EQ(mode("new.txt"), 0644u);
  EXPECT_EQ(mode("old.txt"), 0640u);
  EXPECT_EQ(folder.ReadFile("new.txt"), "fresh");
  EXPECT_EQ(folder.ReadFile("old.txt"), "replaced");
  EXPECT_EQ(folder.Entries(), (Names{"new.txt", "old.txt"}));
}

TEST(ReplaceFileTest, FailureNamesThePathAndLeavesTheOldFile) {
  testing::TempFolder folder;
  folder.MakeFolder("ins.txt");
  folder.WriteFile("page.html", "old page");
  // A folder in the way, a missing folder, and a write that fails.
  const std::pair<std::string, std::string> cases[] = {{folder.Path("ins.txt"), "new"},
                                                       {folder.Path("missing/ins.txt"), "new"},
                                                       {folder.Path("page.html"), "too long"}};
  for (const auto& [target, contents] : cases) {
    testing::FileSizeLimit limit(4);
    const Status status = ReplaceFileAtomically(target, contents);
    EXPECT_FALSE(status.ok()) << target;
    EXPECT_NE(status.reason().find(target), std::string::npos) << status.reason();
    EXPECT_EQ(status.reason().find('\n'), std::string::npos);
  }
  EXPECT_EQ(folder.ReadFile("page.html"), "old page");
  EXPECT_EQ(folder.Entries(), (Names{"ins.txt", "page.html"}));
}

}  // namespace
}  // namespace qv
