// The headless generator run as its users run it: killed half-way, two at
// once, on a file system that refuses the writes, and over files too big to
// hold. A run either writes the whole page or leaves the one before.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "settings/settings_file.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using testing::ChildLimits;
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

  Result<std::unique_ptr<ChildProcess>> Start(const ChildLimits& limits = {}) {
    return ChildProcess::Start(program_.Path("vorlindo-build"),
                               logs_.Path("error" + std::to_string(++runs_) + ".txt"), limits);
  }

  // Runs to the end; the exit status.
  int Run(const ChildLimits& limits = {}) {
    Result<std::unique_ptr<ChildProcess>> child = Start(limits);
    return child.ok() ? (*child)->Wait() : -1000;
  }

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

  EXPECT_EQ(Run(), 0) << LastError();
  EXPECT_GT(program_.ReadFile("mijnstart.html").size(), 300'000u);
  ExpectOnlyTheProgramsFiles();
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
  const ChildLimits bounded = {0, needed + 128 * kMiB};
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

}  // namespace
}  // namespace qv
