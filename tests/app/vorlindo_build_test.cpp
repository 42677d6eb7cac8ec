// vorlindo-build as the user runs it: a copy of the executable in a program
// folder of its own, started as a process.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/child_process.h"
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

// Variables set for a run, or unset for a value of nullptr.
using Environment = std::vector<std::pair<const char*, const char*>>;

// Runs `program` with `option` when given and the `environment`; as the
// unprivileged user "nobody" when `unprivileged` and the test runs as the
// administrator, whom no folder permission stops.
Outcome RunProcess(const std::string& program, bool unprivileged, const char* option = nullptr,
                   const Environment& environment = {}) {
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    close(out[0]);
    close(err[0]);
    if (unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(126);
    for (const auto& [name, value] : environment) {
      if (value == nullptr ? unsetenv(name) != 0 : setenv(name, value, 1) != 0) _exit(126);
    }
    execl(program.c_str(), program.c_str(), option, static_cast<char*>(nullptr));
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

// `program --watch` running, its standard output read line by line.
class WatchingProcess {
 public:
  explicit WatchingProcess(const std::string& program) {
    int out[2];
    if (pipe(out) != 0) return;
    child_ = fork();
    if (child_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      execl(program.c_str(), program.c_str(), "--watch", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(out[1]);
    out_ = out[0];
  }
  ~WatchingProcess() {
    if (child_ > 0) {
      kill(child_, SIGKILL);
      waitpid(child_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
  }

  // The next line of output without its line end; empty when none came
  // within a generous time.
  std::string NextLine() {
    for (;;) {
      const std::size_t end = buffered_.find('\n');
      if (end != std::string::npos) {
        std::string line = buffered_.substr(0, end);
        buffered_.erase(0, end + 1);
        return line;
      }
      pollfd ready = {out_, POLLIN, 0};
      if (poll(&ready, 1, 10000) <= 0) return "";
      char bytes[512];
      const ssize_t count = read(out_, bytes, sizeof bytes);
      if (count <= 0) return "";
      buffered_.append(bytes, static_cast<std::size_t>(count));
    }
  }

  // Sends `signal` and returns the exit status, -1 for any other end.
  int EndWith(int signal) {
    kill(child_, signal);
    int status = 0;
    waitpid(child_, &status, 0);
    child_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t child_ = -1;
  int out_ = -1;
  std::string buffered_;
};

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

// A page name it cannot use is a warning beside the page written under the
// usual name; a template it cannot read ends the run.
TEST_F(VorlindoBuildTest, SaysWhyItPassedOverThePageNameOrCouldNotReadATemplate) {
  std::string settings = program_.ReadFile("ins.txt");
  settings.replace(settings.find("start.html"), 10, "geen/map/pagina.html");
  program_.WriteFile("ins.txt", settings);
  Outcome outcome = RunProcess(program_.Path("vorlindo-build"), false);
  EXPECT_EQ(outcome.exit_status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, program_.Path("mijnstart.html") + "\n");
  EXPECT_TRUE(outcome.err.starts_with("vorlindo-build: warning: the page cannot be named "
                                      "\"geen/map/pagina.html\""))
      << outcome.err;

  std::filesystem::remove(program_.Path("koptekst.txt"));
  program_.MakeFolder("koptekst.txt");
  outcome = RunProcess(program_.Path("vorlindo-build"), false);
  EXPECT_EQ(outcome.exit_status, 1);
  EXPECT_NE(outcome.err.find(program_.Path("koptekst.txt")), std::string::npos) << outcome.err;
  EXPECT_TRUE(program_.ReadFile("mijnstart.html").starts_with("<title>")) << "the page before";
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

TEST_F(VorlindoBuildTest, WatchingRebuildsAfterAChangedShortcutAndEndsCleanlyWhenAsked) {
  for (const int signal : {SIGTERM, SIGINT}) {
    WatchingProcess watching(program_.Path("vorlindo-build"));
    ASSERT_EQ(watching.NextLine(), program_.Path("start.html"));
    favorites_.WriteFile("News/Daily.url", "URL=https://changed.example/\r\n");
    ASSERT_EQ(watching.NextLine(), program_.Path("start.html"));
    EXPECT_NE(program_.ReadFile("start.html").find("https://changed.example/"), std::string::npos);
    EXPECT_EQ(watching.EndWith(signal), 0) << signal;
    favorites_.WriteFile("News/Daily.url", "URL=https://n.example/\r\n");
  }
}

TEST_F(VorlindoBuildTest, WatchingFollowsTheProgramFolderByItsNameWhenItIsReplaced) {
  WatchingProcess watching(program_.Path("vorlindo-build"));
  ASSERT_EQ(watching.NextLine(), program_.Path("start.html"));
  TempFolder replacement;
  for (const char* name : {"koptekst.txt", "voettekst.txt"}) {
    replacement.WriteFile(name, program_.ReadFile(name));
  }
  replacement.WriteFile(
      "ins.txt", CrLfLines({"#009933", "#FFCC99", "#003399", "#FFFFF0", "Home", "new.html", "",
                            favorites_.path(), "", "", "", "", "", "", "", "", "", "5", " 0"}));
  // The running program stays behind in the folder renamed away.
  const auto without_separator = [](const std::string& path) {
    return path.substr(0, path.size() - 1);
  };
  const std::string folder = without_separator(program_.path());
  std::filesystem::rename(folder, folder + ".old");
  std::filesystem::rename(without_separator(replacement.path()), folder);
  const std::string line = watching.NextLine();
  std::filesystem::remove_all(folder + ".old");
  EXPECT_EQ(line, program_.Path("new.html"));
  EXPECT_EQ(watching.EndWith(SIGTERM), 0);
}

TEST_F(VorlindoBuildTest, WatchingThatCannotWatchSaysWhyAndEndsWithStatusOne) {
  struct Case {
    const char* what;
    testing::ChildLimits limits;
    std::filesystem::perms favorites_mode;
    std::string says;
  };
  const std::vector<Case> cases = {
      {"no descriptor left for a watcher",
       {.open_files = 1},
       std::filesystem::perms(0755),
       "cannot watch folders"},
      {"a Favorites folder it may not read",
       {.unprivileged = true},
       std::filesystem::perms::none,
       "cannot watch " + favorites_.path()},
  };
  TempFolder logs;
  for (const Case& c : cases) {
    std::filesystem::permissions(favorites_.path(), c.favorites_mode);
    auto child = testing::ChildProcess::Start(program_.Path("vorlindo-build"),
                                              logs.Path("error.txt"), c.limits, {"--watch"});
    ASSERT_TRUE(child.ok()) << child.status().reason();
    // Nothing, while it goes on as if it watched.
    const std::optional<int> status = (*child)->WaitFor(std::chrono::seconds(10));
    std::filesystem::permissions(favorites_.path(), std::filesystem::perms(0755));
    EXPECT_EQ(status, 1) << c.what;
    const std::string said = logs.ReadFile("error.txt");
    EXPECT_TRUE(said.starts_with("vorlindo-build: " + c.says)) << c.what << ": " << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
  }
}

// Installed as a package installs it, and run by the administrator, whom no
// permission keeps out of the installation: the page goes to the user's own
// folder, which the first run makes, and the installation stays as it was.
TEST(InstalledVorlindoBuild, WritesOnlyInTheUsersFolderWhereverTheVariablesPointIt) {
  TempFolder installation, home;
  const std::string program = installation.Path("usr/bin/vorlindo-build");
  installation.MakeFolder("usr/bin");
  std::filesystem::copy_file(VORLINDO_BUILD_EXECUTABLE, program);
  installation.WriteFile("usr/share/vorlindo/koptekst.txt",
                         CrLfLines({"<title>installed</title>"}));
  installation.WriteFile("usr/share/vorlindo/voettekst.txt", CrLfLines({"</html>"}));
  const auto installed = testing::TreeOf(installation.path());

  const std::string data_home = home.Path("data");
  const struct {
    const char* xdg_data_home;
    const char* users_folder;  // in the home folder
  } cases[] = {{nullptr, ".local/share/vorlindo/"},
               {"relative/data", ".local/share/vorlindo/"},
               {data_home.c_str(), "data/vorlindo/"}};
  for (const auto& c : cases) {
    const Outcome outcome =
        RunProcess(program, false, nullptr,
                   {{"HOME", home.path().c_str()}, {"XDG_DATA_HOME", c.xdg_data_home}});
    EXPECT_EQ(outcome.exit_status, 0) << outcome.err;
    const std::string page = std::string(c.users_folder) + "mijnstart.html";
    EXPECT_EQ(outcome.out, home.Path(page) + "\n");
    EXPECT_TRUE(home.ReadFile(page).starts_with("<title>installed</title>")) << page;
    EXPECT_EQ(testing::TreeOf(installation.path()), installed);
  }
}

TEST_F(VorlindoBuildTest, AnUnknownOptionGivesTheUsageAndStatusTwo) {
  const Outcome outcome = RunProcess(program_.Path("vorlindo-build"), false, "--wach");
  EXPECT_EQ(outcome.exit_status, 2);
  EXPECT_TRUE(outcome.err.starts_with("vorlindo-build: unknown option --wach\nusage: "))
      << outcome.err;
  EXPECT_FALSE(program_.Exists("start.html"));
}

}  // namespace
}  // namespace qv
