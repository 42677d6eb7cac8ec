// The headless generator run as its users run it: a copy of the executable
// in a program folder of its own, started as a process, killed half-way, two
// at once, on a file system that refuses the writes, over files too big to
// hold, watching, and installed. A run either writes the whole page or leaves
// the one before.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>
#include <vector>

#include "settings/settings_file.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using testing::ChildOptions;
using testing::ChildProcess;
using testing::CrLfLines;
using testing::TempFolder;
using Names = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kMiB = 1 << 20;
constexpr const char* kOldPage = "the page of the run before\r\n";
constexpr const char* kOldJumpList = "the jump list of the run before\r\n";

class BuildProgramTest : public ::testing::Test {
 protected:
  BuildProgramTest() {
    // Readable and searchable for everyone, so that "nobody" can run the copy.
    for (const TempFolder* folder : {&program_, &favorites_}) {
      std::filesystem::permissions(folder->path(), std::filesystem::perms(0755));
    }
    std::filesystem::copy_file(VORLINDO_BUILD_PROGRAM, program_.Path("vorlindo-build"));
    program_.WriteFile("koptekst.txt", CrLfLines({"<html>", "@#$TITEL@#$", "<table>"}));
    program_.WriteFile("voettekst.txt", CrLfLines({"</table>", " @#$OPTION@#$", "</html>"}));
    ProgramState state;
    state.settings.favorites_folder = favorites_.path();
    EXPECT_TRUE(SaveSettings(state, program_.path()).ok());
  }

  void SetUp() override {
    if (!ChildProcess::Supported()) {
      GTEST_SKIP() << "POSIX only: child processes with file size and memory limits";
    }
  }

  // `categories` folders of `links` shortcut files each.
  void AddLinks(int categories, int links) {
    for (int c = 0; c < categories; ++c) {
      const std::string folder = "Category " + std::to_string(c) + "/";
      favorites_.MakeFolder(folder);
      for (int l = 0; l < links; ++l) {
        favorites_.WriteFile(folder + "Link " + std::to_string(l) + ".url",
                             "[InternetShortcut]\r\nURL=https://site" + std::to_string(l) +
                                 ".example/some/longer/path/" + std::to_string(c) + "\r\n");
      }
    }
  }

  Result<std::unique_ptr<ChildProcess>> Start(ChildOptions options = {}) {
    ++runs_;
    options.output_path = OutputPath();
    return ChildProcess::Start(program_.Path("vorlindo-build"),
                               logs_.Path("error" + std::to_string(runs_) + ".txt"), options);
  }

  // Runs to the end; the exit status.
  int Run(const ChildOptions& options = {}) {
    Result<std::unique_ptr<ChildProcess>> child = Start(options);
    return child.ok() ? (*child)->Wait() : -1000;
  }

  // What the latest run printed, and where.
  std::string OutputPath() const { return logs_.Path(OutputName()); }
  std::string OutputName() const { return "output" + std::to_string(runs_) + ".txt"; }
  std::string LastOutput() const { return logs_.ReadFile(OutputName()); }
  std::string LastError() const { return logs_.ReadFile("error" + std::to_string(runs_) + ".txt"); }

  void PlantOldFiles() {
    program_.WriteFile("mijnstart.html", kOldPage);
    program_.WriteFile("option.txt", kOldJumpList);
  }

  // The folder holds the program's files and the page's, and nothing a run
  // left behind.
  void ExpectOnlyTheProgramsFiles() {
    EXPECT_EQ(program_.Entries(), (Names{"ins.txt", "koptekst.txt", "mijnstart.html", "option.txt",
                                         "voettekst.txt", "vorlindo-build"}));
  }

  void ExpectTheOldFiles() {
    EXPECT_EQ(program_.ReadFile("mijnstart.html"), kOldPage);
    EXPECT_EQ(program_.ReadFile("option.txt"), kOldJumpList);
    ExpectOnlyTheProgramsFiles();
  }

  // The smallest address space, to a MiB, in which a run over a few links
  // succeeds: what the program needs without big files.
  std::uint64_t SmallestAddressSpace() {
    static std::uint64_t found = 0;
    if (found != 0) return found;
    std::uint64_t low = 1 * kMiB, high = 1024 * kMiB;
    if (Run({0, high}) != 0) return 0;
    while (high - low > kMiB) {
      const std::uint64_t middle = (low + high) / 2 / kMiB * kMiB;
      (Run({0, middle}) == 0 ? high : low) = middle;
    }
    return found = high;
  }

  TempFolder program_, favorites_, logs_;
  int runs_ = 0;
};

TEST_F(BuildProgramTest, AWriteThatFailsKeepsThePageBeforeAndSaysWhy) {
  AddLinks(10, 100);  // a page of some 300 kB
  PlantOldFiles();
  EXPECT_EQ(Run({64 * 1024, 0}), 1);
  const std::string error = LastError();
  EXPECT_NE(error.find("File too large"), std::string::npos) << error;
  EXPECT_NE(error.find(program_.Path("mijnstart.html")), std::string::npos) << error;
  EXPECT_EQ(error.find('\n'), error.size() - 1) << "one line";
  ExpectTheOldFiles();

  // The page's path, and nothing else, once the page is written.
  EXPECT_EQ(Run(), 0) << LastError();
  EXPECT_EQ(LastOutput(), program_.Path("mijnstart.html") + "\n");
  EXPECT_EQ(LastError(), "");
  EXPECT_GT(program_.ReadFile("mijnstart.html").size(), 300'000u);
  ExpectOnlyTheProgramsFiles();
}

TEST_F(BuildProgramTest, AnUnwritableProgramFolderGivesOneLineAndStatusOne) {
  std::filesystem::permissions(program_.path(), std::filesystem::perms(0555));
  const int status = Run({.unprivileged = true});
  std::filesystem::permissions(program_.path(), std::filesystem::perms(0755));
  EXPECT_EQ(status, 1);
  EXPECT_EQ(LastOutput(), "");
  const std::string error = LastError();
  ASSERT_TRUE(error.starts_with("vorlindo-build: ")) << error;
  EXPECT_EQ(error.find('\n'), error.size() - 1) << error;
  EXPECT_NE(error.find(program_.path()), std::string::npos) << error;
  EXPECT_FALSE(program_.Exists("mijnstart.html"));
}

// A page name it cannot use is a warning beside the page written under the
// usual name.
TEST_F(BuildProgramTest, SaysWhyItPassedOverThePageName) {
  ProgramState state;
  state.settings.favorites_folder = favorites_.path();
  state.settings.page_file_name = "geen/map/pagina.html";
  ASSERT_TRUE(SaveSettings(state, program_.path()).ok());
  EXPECT_EQ(Run(), 0) << LastError();
  EXPECT_EQ(LastOutput(), program_.Path("mijnstart.html") + "\n");
  EXPECT_TRUE(
      LastError().starts_with("vorlindo-build: warning: the page cannot be named "
                              "\"geen/map/pagina.html\""))
      << LastError();
}

TEST_F(BuildProgramTest, AKilledRunLeavesTheOldPageOrTheNewOneNeverPartOfOne) {
  AddLinks(20, 150);
  const Clock::time_point start = Clock::now();
  ASSERT_EQ(Run(), 0) << LastError();
  const auto whole_run = Clock::now() - start;
  const std::string page = program_.ReadFile("mijnstart.html");
  const std::string jump_list = program_.ReadFile("option.txt");

  int killed = 0;
  for (int point = 1; point <= 12; ++point) {
    PlantOldFiles();
    Result<std::unique_ptr<ChildProcess>> child = Start();
    ASSERT_TRUE(child.ok());
    std::this_thread::sleep_for(whole_run * point / 12);
    (*child)->Kill();
    if ((*child)->Wait() < 0) ++killed;
    const std::string page_now = program_.ReadFile("mijnstart.html");
    EXPECT_TRUE(page_now == kOldPage || page_now == page) << "killed at point " << point;
    const std::string jump_list_now = program_.ReadFile("option.txt");
    EXPECT_TRUE(jump_list_now == kOldJumpList || jump_list_now == jump_list) << point;
  }
  EXPECT_GT(killed, 0) << "no run was killed before its end";

  // The next run removes what the killed ones left.
  ASSERT_EQ(Run(), 0) << LastError();
  EXPECT_EQ(program_.ReadFile("mijnstart.html"), page);
  ExpectOnlyTheProgramsFiles();
}

TEST_F(BuildProgramTest, RunsAtTheSameTimeTakeTurnsAndBothEndWithTheWholePage) {
  AddLinks(10, 100);
  ASSERT_EQ(Run(), 0) << LastError();
  const std::string page = program_.ReadFile("mijnstart.html");
  const std::string jump_list = program_.ReadFile("option.txt");
  for (int round = 0; round < 5; ++round) {
    PlantOldFiles();
    std::vector<std::unique_ptr<ChildProcess>> children;
    for (int i = 0; i < 3; ++i) children.push_back(std::move(Start()).value());
    for (auto& child : children) EXPECT_EQ(child->Wait(), 0) << round;
    EXPECT_EQ(program_.ReadFile("mijnstart.html"), page) << round;
    EXPECT_EQ(program_.ReadFile("option.txt"), jump_list) << round;
    ExpectOnlyTheProgramsFiles();
  }
}

TEST_F(BuildProgramTest, HugeOneLineFilesAreReadInBoundedMemory) {
  AddLinks(1, 3);
  const std::uint64_t needed = SmallestAddressSpace();
  ASSERT_GT(needed, 0u) << LastError();
  // Room for the longest template line the program keeps (16 MiB), a few
  // times over as the line goes through the table and the merge: far from
  // the gigabytes that holding these files whole would take.
  const ChildOptions bounded = {0, needed + 128 * kMiB};
  struct Case {
    const char* file;
    const char* head;
    std::uint64_t size;
  } cases[] = {
      {"Favorites", "[InternetShortcut]\r\nURL=", 2048 * kMiB},
      {"ins.txt", "", 256 * kMiB},
      {"koptekst.txt", "<html>", 256 * kMiB},
  };
  for (const Case& test : cases) {
    const std::string path = test.file == std::string("Favorites")
                                 ? favorites_.Path("Category 0/Huge.url")
                                 : program_.Path(test.file);
    const std::string saved = program_.ReadFile(test.file);
    // The settings file keeps its lines; its last one goes on for the size.
    const std::string head =
        test.file == std::string("ins.txt") ? saved.substr(0, saved.size() - 2) : test.head;
    ASSERT_TRUE(testing::MakeSparseFile(path, head, test.size)) << path;
    EXPECT_EQ(Run(bounded), 0) << test.file << ": " << LastError();
    const std::string page = program_.ReadFile("mijnstart.html");
    EXPECT_NE(page.find("https://site2.example/some/longer/path/0"), std::string::npos);
    std::filesystem::remove(path);
    if (!saved.empty()) program_.WriteFile(test.file, saved);
  }
}

TEST_F(BuildProgramTest, MemoryRunningOutFailsTheRunAndKeepsThePageBefore) {
  AddLinks(1, 3);
  const std::uint64_t needed = SmallestAddressSpace();
  ASSERT_GT(needed, 0u) << LastError();
  PlantOldFiles();
  // A header line of 16 MiB cannot be held in 8 MiB more than a run needs.
  ASSERT_TRUE(testing::MakeSparseFile(program_.Path("koptekst.txt"), "<html>", 1024 * kMiB));
  EXPECT_EQ(Run({0, needed + 8 * kMiB}), 1);
  EXPECT_NE(LastError().find("not enough memory"), std::string::npos) << LastError();
  ExpectTheOldFiles();
}

// The lines `--watch` prints, one at a time as they come.
class PrintedLines {
 public:
  explicit PrintedLines(std::string path) : path_(std::move(path)) {}
  // The next whole line without its line end; empty when none came within a
  // generous time.
  std::string Next() {
    const Clock::time_point give_up = Clock::now() + std::chrono::seconds(10);
    for (;;) {
      std::ifstream file(path_, std::ios::binary);
      const std::string printed(std::istreambuf_iterator<char>(file), {});
      const std::size_t end = printed.find('\n', read_);
      if (end != std::string::npos) {
        std::string line = printed.substr(read_, end - read_);
        read_ = end + 1;
        return line;
      }
      if (Clock::now() > give_up) return "";
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

 private:
  std::string path_;
  std::size_t read_ = 0;  // bytes already handed out as lines
};

TEST_F(BuildProgramTest, WatchingRebuildsAfterAChangedShortcutAndEndsCleanlyWhenAsked) {
  favorites_.WriteFile("News/Daily.url", "URL=https://n.example/\r\n");
  for (const int signal : {SIGTERM, SIGINT}) {
    auto watching = Start({.arguments = {"--watch"}});
    ASSERT_TRUE(watching.ok()) << watching.status().reason();
    PrintedLines printed(OutputPath());
    ASSERT_EQ(printed.Next(), program_.Path("mijnstart.html"));
    favorites_.WriteFile("News/Daily.url", "URL=https://changed.example/\r\n");
    ASSERT_EQ(printed.Next(), program_.Path("mijnstart.html"));
    EXPECT_NE(program_.ReadFile("mijnstart.html").find("https://changed.example/"),
              std::string::npos);
    (*watching)->Signal(signal);
    EXPECT_EQ((*watching)->Wait(), 0) << signal;
    favorites_.WriteFile("News/Daily.url", "URL=https://n.example/\r\n");
  }
}

TEST_F(BuildProgramTest, WatchingFollowsTheProgramFolderByItsNameWhenItIsReplaced) {
  auto watching = Start({.arguments = {"--watch"}});
  ASSERT_TRUE(watching.ok()) << watching.status().reason();
  PrintedLines printed(OutputPath());
  ASSERT_EQ(printed.Next(), program_.Path("mijnstart.html"));
  TempFolder replacement;
  for (const char* name : {"koptekst.txt", "voettekst.txt"}) {
    replacement.WriteFile(name, program_.ReadFile(name));
  }
  ProgramState state;
  state.settings.favorites_folder = favorites_.path();
  state.settings.page_file_name = "new.html";
  ASSERT_TRUE(SaveSettings(state, replacement.path()).ok());
  // The running program stays behind in the folder renamed away.
  const auto without_separator = [](const std::string& path) {
    return path.substr(0, path.size() - 1);
  };
  const std::string folder = without_separator(program_.path());
  std::filesystem::rename(folder, folder + ".old");
  std::filesystem::rename(without_separator(replacement.path()), folder);
  const std::string line = printed.Next();
  (*watching)->Signal(SIGTERM);
  EXPECT_EQ((*watching)->Wait(), 0);
  std::filesystem::remove_all(folder + ".old");
  EXPECT_EQ(line, program_.Path("new.html"));
}

TEST_F(BuildProgramTest, WatchingThatCannotWatchSaysWhyAndEndsWithStatusOne) {
  struct Case {
    const char* what;
    ChildOptions options;
    std::filesystem::perms favorites_mode;
    std::string says;
  };
  const std::vector<Case> cases = {
      {"no descriptor left for a watcher",
       {.open_files = 1, .arguments = {"--watch"}},
       std::filesystem::perms(0755),
       "cannot watch folders"},
      {"a Favorites folder it may not read",
       {.unprivileged = true, .arguments = {"--watch"}},
       std::filesystem::perms::none,
       "cannot watch " + favorites_.path()},
  };
  for (const Case& c : cases) {
    std::filesystem::permissions(favorites_.path(), c.favorites_mode);
    auto child = Start(c.options);
    ASSERT_TRUE(child.ok()) << child.status().reason();
    // Nothing, while it goes on as if it watched.
    const std::optional<int> status = (*child)->WaitFor(std::chrono::seconds(10));
    std::filesystem::permissions(favorites_.path(), std::filesystem::perms(0755));
    EXPECT_EQ(status, 1) << c.what;
    const std::string said = LastError();
    EXPECT_TRUE(said.starts_with("vorlindo-build: " + c.says)) << c.what << ": " << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
  }
}

// Installed as a package installs it, and run by the administrator, whom no
// permission keeps out of the installation: the page goes to the user's own
// folder, which the first run makes, and the installation stays as it was.
TEST(InstalledBuildProgram, WritesOnlyInTheUsersFolderWhereverTheVariablesPointIt) {
  if (!ChildProcess::Supported()) GTEST_SKIP() << "POSIX only: an installation as packages make it";
  TempFolder installation, home, logs;
  const std::string program = installation.Path("usr/bin/vorlindo-build");
  installation.MakeFolder("usr/bin");
  std::filesystem::copy_file(VORLINDO_BUILD_PROGRAM, program);
  installation.WriteFile("usr/share/vorlindo/koptekst.txt",
                         CrLfLines({"<title>installed</title>"}));
  installation.WriteFile("usr/share/vorlindo/voettekst.txt", CrLfLines({"</html>"}));
  const auto installed = testing::TreeOf(installation.path());

  // The variable's rules themselves are XdgBaseFolder's.
  const struct {
    std::optional<std::string> xdg_data_home;
    const char* users_folder;  // in the home folder
  } cases[] = {{std::nullopt, ".local/share/vorlindo/"}, {home.Path("data"), "data/vorlindo/"}};
  for (const auto& c : cases) {
    auto child = ChildProcess::Start(
        program, logs.Path("error.txt"),
        {.environment = {{"HOME", home.path()}, {"XDG_DATA_HOME", c.xdg_data_home}},
         .output_path = logs.Path("output.txt")});
    ASSERT_TRUE(child.ok()) << child.status().reason();
    EXPECT_EQ((*child)->Wait(), 0) << logs.ReadFile("error.txt");
    const std::string page = std::string(c.users_folder) + "mijnstart.html";
    EXPECT_EQ(logs.ReadFile("output.txt"), home.Path(page) + "\n");
    EXPECT_TRUE(home.ReadFile(page).starts_with("<title>installed</title>")) << page;
    EXPECT_EQ(testing::TreeOf(installation.path()), installed);
  }
}

}  // namespace
}  // namespace qv
