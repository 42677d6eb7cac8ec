#include "import/import_command.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "support/fake_surroundings.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

using testing::TempFolder;

// A machine with a program folder, a home folder, the given browsers and
// sources that are known by path; any other path is bad input.
class FakeMachine : public ImportCommandSurroundings {
 public:
  ProgramFolders Folders() override { return BesideTheExecutable(program.path()); }
  std::string HomeFolder() override { return home.path(); }
  FavoritesLookup& Favorites() override { return registry; }
  std::vector<BrowserProfile> BrowserProfiles() override { return browsers; }
  Result<SourceBookmarks> ReadSource(const std::string& path) override {
    read.push_back(path);
    const auto found = sources.find(path);
    if (found == sources.end()) return Status::Error(path + ": not a bookmarks file");
    return found->second;
  }

  TempFolder program, home;
  testing::FakeFavoritesLookup registry;  // names no folder
  std::vector<BrowserProfile> browsers;
  std::map<std::string, SourceBookmarks> sources;
  std::vector<std::string> read;
};

struct CommandRun {
  int status;
  std::string out, err;
};

CommandRun RunCommand(FakeMachine& machine, const std::vector<std::string>& arguments) {
  std::ostringstream out, err;
  const int status = RunImportCommand(arguments, machine, out, err);
  return {status, out.str(), err.str()};
}

bool IsOneLine(const std::string& text) {
  return !text.empty() && text.find('\n') == text.size() - 1;
}

TEST(ImportCommand, CommandLinesThatMakeNoSense) {
  FakeMachine machine;
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--watch"}, {"-x", "a"}, {"a", "b"}, {"--dry-run", "a", "b"}}) {
    const CommandRun run = RunCommand(machine, arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("usage: vorlindo-import"), std::string::npos);
  }
  EXPECT_EQ(ParseImportArguments({"--", "--dry-run"})->source, "--dry-run");
  EXPECT_EQ(RunCommand(machine, {"--help"}).status, 0);
  EXPECT_TRUE(machine.read.empty());
}

TEST(ImportCommand, ListsTheBrowsersOrSaysThereAreNone) {
  FakeMachine machine;
  const CommandRun none = RunCommand(machine, {});
  EXPECT_EQ(none.status, 1);
  EXPECT_TRUE(IsOneLine(none.err)) << none.err;

  machine.browsers = {{"firefox", "default-release", "/p/places.sqlite", true},
                      {"chrome", "Default", "/c/Default/Bookmarks"}};
  const CommandRun listed = RunCommand(machine, {});
  EXPECT_EQ(listed.status, 0);
  EXPECT_NE(listed.out.find("firefox  default-release  /p/places.sqlite  (default)\n"),
            std::string::npos);
  EXPECT_NE(listed.out.find("chrome  Default  /c/Default/Bookmarks\n"), std::string::npos);
}

TEST(ImportCommand, BadInputChangesNothingNotEvenTheSettings) {
  FakeMachine machine;
  machine.browsers = {{"chrome", "Default", "/c/Default/Bookmarks"}};
  for (const char* source : {"/no/such/file", "firefox", "Chrome"}) {
    const CommandRun run = RunCommand(machine, {source});
    EXPECT_EQ(run.status, 1) << source;
    EXPECT_TRUE(IsOneLine(run.err)) << run.err;
  }
  EXPECT_EQ(machine.read, (std::vector<std::string>{"/no/such/file", "/c/Default/Bookmarks"}));
  EXPECT_EQ(machine.program.Entries(), std::vector<std::string>{});
  EXPECT_EQ(machine.home.Entries(), std::vector<std::string>{});
}

TEST(ImportCommand, ExitsZeroOnlyWhenTheFolderIsInStep) {
  FakeMachine machine;
  machine.browsers = {{"firefox", "default-release", "/p/places.sqlite", true},
                      {"firefox", "other", "/q/places.sqlite"}};
  machine.sources["/p/places.sqlite"] = {{"Bookmarks Menu", {}, "Example", "http://example.org/"},
                                         {"Bookmarks Menu", {}, "Recent", "place:sort=8"}};
  machine.sources["export.html"] = {{"", {}, "Other", "http://other.example/"}};

  const CommandRun dry = RunCommand(machine, {"--dry-run", "firefox"});
  EXPECT_EQ(dry.status, 1);
  EXPECT_TRUE(IsOneLine(dry.err)) << dry.err;
  EXPECT_NE(dry.out.find("add            Bookmarks Menu/Example.url"), std::string::npos);
  EXPECT_EQ(machine.home.Entries(), std::vector<std::string>{});

  const CommandRun imported = RunCommand(machine, {"firefox"});
  EXPECT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.err, "");
  EXPECT_NE(imported.out.find("Favorites folder: " + machine.home.Path("Favorites/")),
            std::string::npos);
  EXPECT_NE(imported.out.find("1 added, 0 changed, 0 removed, 0 unchanged; 1 skipped: 1 place:\n"),
            std::string::npos);
  EXPECT_TRUE(machine.home.Exists("Favorites/Bookmarks Menu/Example.url"));
  EXPECT_TRUE(machine.program.Exists("ins.txt"));

  EXPECT_EQ(RunCommand(machine, {"--dry-run", "firefox"}).status, 0);
  const CommandRun other = RunCommand(machine, {"--dry-run", "--", "export.html"});
  EXPECT_EQ(other.status, 1);
  EXPECT_NE(other.out.find("remove folder  Bookmarks Menu"), std::string::npos);
  EXPECT_EQ(RunCommand(machine, {"export.html"}).status, 0);
  EXPECT_TRUE(machine.home.Exists("Favorites/Bookmarks/Other.url"));
  EXPECT_FALSE(machine.home.Exists("Favorites/Bookmarks Menu"));
}

}  // namespace
}  // namespace qv::import
