// vorlindo-build as the user runs it: a copy of the executable in a program
// folder of its own, started as a process.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace qv {
namespace {

using testing::CrLfLines;
using testing::TempFolder;

struct Outcome {
  int exit_status = -1;
  std::string out, err;
};

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t count; (count = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, count);
  close(fd);
  return text;
}

// Runs `program`; as the unprivileged user "nobody" when `unprivileged` and
// the test runs as the administrator, whom no folder permission stops.
Outcome RunProcess(const std::string& program, bool unprivileged) {
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    close(out[0]);
    close(err[0]);
    if (unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(126);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  Outcome outcome;
  // Both pipes are small enough for the output of one run.
  outcome.out = ReadAll(out[0]);
  outcome.err = ReadAll(err[0]);
  int status = 0;
  waitpid(child, &status, 0);
  outcome.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

class VorlindoBuildTest : public ::testing::Test {
 protected:
  VorlindoBuildTest() {
    // Readable and searchable for everyone, so that "nobody" can run the copy.
    std::filesystem::permissions(program_.path(), std::filesystem::perms(0755));
    std::filesystem::permissions(favorites_.path(), std::filesystem::perms(0755));
    std::filesystem::copy_file(VORLINDO_BUILD_EXECUTABLE, program_.Path("vorlindo-build"));
    program_.WriteFile("koptekst.txt", CrLfLines({"<title>", "@#$TITEL@#$", "</title>"}));
    program_.WriteFile("voettekst.txt", CrLfLines({"<select>", " @#$OPTION@#$", "</select>"}));
    favorites_.WriteFile("News/Daily.url", "URL=https://n.example/\r\n");
    std::filesystem::permissions(favorites_.Path("News"), std::filesystem::perms(0755));
    program_.WriteFile(
        "ins.txt", CrLfLines({"#009933", "#FFCC99", "#003399", "#FFFFF0", "Home", "start.html", "",
                              favorites_.path(), "", "", "", "", "", "", "", "", "", "5", " 0"}));
  }

  TempFolder program_, favorites_;
};

TEST_F(VorlindoBuildTest, WritesThePageAndPrintsItsPath) {
  const Outcome outcome = RunProcess(program_.Path("vorlindo-build"), false);
  EXPECT_EQ(outcome.exit_status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, program_.Path("start.html") + "\n");
  EXPECT_EQ(outcome.err, "");
  const std::string page = program_.ReadFile("start.html");
  EXPECT_TRUE(page.starts_with("<title>\r\nHome\r\n</title>\r\n")) << page;
  EXPECT_NE(page.find("https://n.example/"), std::string::npos);
}

TEST_F(VorlindoBuildTest, AnUnwritableProgramFolderGivesOneLineAndStatusOne) {
  std::filesystem::permissions(program_.path(), std::filesystem::perms(0555));
  const Outcome outcome = RunProcess(program_.Path("vorlindo-build"), true);
  std::filesystem::permissions(program_.path(), std::filesystem::perms(0755));
  EXPECT_EQ(outcome.exit_status, 1);
  EXPECT_EQ(outcome.out, "");
  ASSERT_TRUE(outcome.err.starts_with("vorlindo-build: ")) << outcome.err;
  EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;
  EXPECT_NE(outcome.err.find(program_.path()), std::string::npos) << outcome.err;
  EXPECT_FALSE(program_.Exists("start.html"));
}

}  // namespace
}  // namespace qv
