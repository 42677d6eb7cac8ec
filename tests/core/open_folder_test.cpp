#include "generator/open_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <system_error>

#include "generator/file_replacement.h"
#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// A folder renamed and another made under its old name after it was opened:
// what is written lands in the folder that was opened, wherever it is now.
// Windows does not let a folder held open be renamed at all.
TEST(OpenFolderTest, WritesLandInTheFolderOpenedWhateverItsPathLeadsToNow) {
  testing::TempFolder root;
  root.MakeFolder("News");
  const auto news = OpenFolder::Open(root.Path("News"));
  ASSERT_TRUE(news.ok()) << news.status().reason();
  std::error_code error;
  fs::rename(root.Path("News"), root.Path("Moved"), error);
  const std::string now_at = error ? "News/" : "Moved/";
  if (!error) root.MakeFolder("News");

  ASSERT_TRUE(ReplaceFileAtomically(*news, "a.url", "written").ok());
  ASSERT_TRUE(news->MakeSubfolder("sub").ok());
  EXPECT_EQ(root.ReadFile(now_at + "a.url"), "written");
  EXPECT_TRUE(root.Exists(now_at + "sub"));
  EXPECT_FALSE(!error && root.Exists("News/a.url"));
  ASSERT_TRUE(news->RemoveFile("a.url").ok());
  ASSERT_TRUE(news->RemoveEmptySubfolder("sub").ok());
  const auto entries = news->Entries();
  ASSERT_TRUE(entries.ok());
  EXPECT_TRUE(entries->empty());
}

TEST(OpenFolderTest, TakesEntriesAsTheyAreAndNeverRemovesAFolderWithAnythingInIt) {
  testing::TempFolder root;
  root.WriteFile("file.url", "URL=x\r\n");
  root.WriteFile("full/inside.url", "URL=y\r\n");
  root.MakeFolder("empty");
  const auto folder = OpenFolder::Open(root.path());
  ASSERT_TRUE(folder.ok());
  EXPECT_FALSE(folder->OpenSubfolder("file.url").ok());
  EXPECT_FALSE(folder->OpenSubfolder("missing").ok());
  EXPECT_FALSE(folder->OpenSubfolder("..").ok());
  EXPECT_FALSE(folder->OpenFile("full").ok());
  EXPECT_FALSE(folder->RemoveFile("full").ok());
  EXPECT_FALSE(folder->RemoveEmptySubfolder("full").ok());
  EXPECT_TRUE(folder->RemoveFile("missing").ok());
  EXPECT_FALSE(folder->MakeSubfolder("empty").ok());
  EXPECT_EQ(root.Entries(), (Names{"empty", "file.url", "full"}));

  const auto sub = folder->OpenSubfolder("full");
  ASSERT_TRUE(sub.ok());
  EXPECT_EQ(sub->path(), root.Path("full/"));
  const auto entries = folder->Entries();
  ASSERT_TRUE(entries.ok());
  std::map<std::string, FolderEntry::Type> types;
  for (const FolderEntry& entry : *entries) types[entry.name] = entry.type;
  EXPECT_EQ(types,
            (std::map<std::string, FolderEntry::Type>{{"empty", FolderEntry::Type::kFolder},
                                                      {"file.url", FolderEntry::Type::kFile},
                                                      {"full", FolderEntry::Type::kFolder}}));
  EXPECT_TRUE(folder->RemoveEmptySubfolder("empty").ok());
}

TEST(OpenFolderTest, LinksAreNeitherFollowedNorTakenForWhatTheyLinkTo) {
  if (const std::string why = testing::WithoutPosixFiles(); !why.empty()) GTEST_SKIP() << why;
  testing::TempFolder root, outside;
  outside.WriteFile("target.url", "URL=x\r\n");
  ASSERT_TRUE(testing::MakeSymbolicLink(outside.path(), root.Path("folder link")));
  ASSERT_TRUE(testing::MakeSymbolicLink(outside.Path("target.url"), root.Path("file link.url")));
  const auto folder = OpenFolder::Open(root.path());
  ASSERT_TRUE(folder.ok());
  const auto entries = folder->Entries();
  ASSERT_TRUE(entries.ok());
  for (const FolderEntry& entry : *entries) EXPECT_EQ(entry.type, FolderEntry::Type::kLink);
  EXPECT_FALSE(folder->OpenSubfolder("folder link").ok());
  EXPECT_FALSE(folder->OpenFile("file link.url").ok());
  EXPECT_FALSE(folder->RemoveEmptySubfolder("folder link").ok());
  EXPECT_TRUE(folder->RemoveFile("file link.url").ok());
  EXPECT_TRUE(folder->RemoveFile("folder link").ok());
  EXPECT_TRUE(root.Entries().empty());
  EXPECT_EQ(outside.ReadFile("target.url"), "URL=x\r\n");
}

}  // namespace
}  // namespace qv
