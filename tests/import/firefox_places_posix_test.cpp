// Reading places.sqlite in processes of its own: as a user who cannot write
// beside it, stopped while the browser saves, and killed at any moment.
// POSIX only: they fork, stop and kill the reader and watch its reads.
#include <gtest/gtest.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "import/bookmark_printer.h"
#include "import/bookmark_readers.h"
#include "import/places_file.h"
#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

namespace fs = std::filesystem;

// History enough for the files to take a while to read.
void AddHistory(PlacesFile& browser) {
  browser.Run(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60000)"
      " INSERT INTO moz_places (id, url) SELECT 1000 + i, 'https://visited.example/' || i ||"
      " printf('%.200c', 'x') FROM n");
}

// Runs `body` in a child process, and `meanwhile` here; the child's exit
// status, and what it wrote to the descriptor it is given.
std::pair<int, std::string> InChild(const std::function<void(int out)>& body,
                                    const std::function<void(pid_t child)>& meanwhile = {}) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return {-1, "no pipe"};
  const pid_t child = fork();
  if (child == 0) {
    close(pipe_ends[0]);
    body(pipe_ends[1]);
    _exit(0);
  }
  close(pipe_ends[1]);
  if (meanwhile) meanwhile(child);
  std::string written;
  char buffer[4096];
  for (ssize_t count; (count = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) {
    written.append(buffer, static_cast<std::size_t>(count));
  }
  close(pipe_ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, written};
}

// Reads `path` as a user who cannot write to `folder`: "read" when that
// gives kSaved, else what it gave; empty when there is no such user here.
std::string ReadWithoutWriting(const std::string& folder, const std::string& path) {
  const auto [status, written] = InChild([&](int out) {
    // Permissions stop no administrator: the read runs as the user nobody then.
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(77);
    if (access(folder.c_str(), W_OK) == 0 || access(path.c_str(), R_OK) != 0) _exit(77);
    const Result<SourceBookmarks> read = ReadFirefoxPlaces(path);
    const std::string outcome =
        read.ok() ? (*read == kSaved ? "read" : "read wrongly") : read.status().reason();
    if (write(out, outcome.data(), outcome.size()) < 0) _exit(1);
  });
  return status == 0 ? written : status == 77 ? "" : "ended with " + std::to_string(status);
}

TEST(ReadFirefoxPlacesTest, ReadsAClosedDatabaseInAFolderItCannotWriteTo) {
  bool no_read_only_folder = false;
  for (const ClosedDatabase& closed : kClosedDatabases) {
    SCOPED_TRACE(closed.name);
    testing::TempFolder folder;
    const std::string path = MakeClosedDatabase(folder, closed);
    const std::string profile = folder.Path("profile");
    for (const auto& file : NamesIn(StateOf(profile))) {
      testing::SetFileMode(profile + "/" + file, 0444);
    }
    testing::SetFileMode(profile, 0555);
    const std::string read_only = ReadWithoutWriting(profile, path);
    testing::SetFileMode(profile, 0755);
    no_read_only_folder = read_only.empty();
    if (!no_read_only_folder) {
      EXPECT_EQ(read_only, "read");
    }
  }
  if (no_read_only_folder) GTEST_SKIP() << "no user here for whom a folder is read-only";
}

// Bookmark entries that fill pages of the database, and no link.
void AddSeparators(PlacesFile& browser, int first_id) {
  browser.Run(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60)"
      " INSERT INTO moz_bookmarks (id, type, parent, position, title) SELECT " +
      std::to_string(first_id) + " + i, 3, 2, i, printf('%.200c', 's') FROM n");
}

// Keeps this thread, and the processes it starts, on the processor it runs
// on for one scope.
class OneProcessor {
 public:
  OneProcessor() {
    sched_getaffinity(0, sizeof all_, &all_);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    sched_setaffinity(0, sizeof one, &one);
  }
  ~OneProcessor() { sched_setaffinity(0, sizeof all_, &all_); }
  OneProcessor(const OneProcessor&) = delete;
  OneProcessor& operator=(const OneProcessor&) = delete;

 private:
  cpu_set_t all_;
};

TEST(ReadFirefoxPlacesTest, ReadsAgainWhatChangesWhileItIsRead) {
  const struct {
    const char* name;
    const char* journal_mode;
    const char* watched;  // the file the browser changes once the reader reads it
    void (*prepare)(PlacesFile& browser);
    const char* change;
    std::vector<SourceBookmarks> moments;  // what the files hold at a moment of the read
  } cases[] = {
      // All of the log is in the database as well, so the browser may cut it
      // short: a copy of part of it would put the old title back.
      {"log cut short",
       "WAL",
       "-wal",
       [](PlacesFile& browser) {
         browser.Link(10, 3, 0, "Old title", "https://saved.example/");
         AddHistory(browser);
         browser.Run("UPDATE moz_bookmarks SET title = 'Saved' WHERE id = 10");
         browser.Run("PRAGMA wal_checkpoint(PASSIVE)");
       },
       "PRAGMA wal_checkpoint(TRUNCATE)",
       {kSaved}},
      // Two links, one near the start of the file and one at its end, are
      // renamed at once: a copy of part of the change would hold one of them.
      {"database saved",
       "DELETE",
       "",
       [](PlacesFile& browser) {
         browser.Link(10, 3, 0, "Old title", "https://saved.example/");
         AddSeparators(browser, 100);
         AddHistory(browser);
         AddSeparators(browser, 200);
         browser.Link(300, 3, 1, "Old title", "https://late.example/");
       },
       "UPDATE moz_bookmarks SET title = 'Saved' WHERE type = 1",
       {{{"Bookmarks Toolbar", {}, "Old title", "https://saved.example/"},
         {"Bookmarks Toolbar", {}, "Old title", "https://late.example/"}},
        {kSaved[0], {"Bookmarks Toolbar", {}, "Saved", "https://late.example/"}}}},
  };
  // The reader runs on the browser's processor and yields to it, so that
  // the browser stops it right after it has read the first piece of a file.
  const OneProcessor shared;
  for (const auto& [name, journal_mode, watched, prepare, change, moments] : cases) {
    SCOPED_TRACE(name);
    testing::TempFolder folder;
    const std::string path = folder.Path("places.sqlite");
    PlacesFile browser(path, journal_mode);
    browser.Run("PRAGMA locking_mode = EXCLUSIVE");
    browser.Roots();
    prepare(browser);
    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(inotify_add_watch(watch, (path + watched).c_str(), IN_ACCESS), 0);
    const auto [status, read] = InChild(
        [&](int out) {
          setpriority(PRIO_PROCESS, 0, 19);
          const Result<SourceBookmarks> links = ReadFirefoxPlaces(path);
          const std::string outcome =
              links.ok() ? ::testing::PrintToString(*links) : links.status().reason();
          if (write(out, outcome.data(), outcome.size()) < 0) _exit(1);
        },
        [&](pid_t reader) {
          pollfd read_seen = {watch, POLLIN, 0};
          if (poll(&read_seen, 1, 5000) != 1) return;
          kill(reader, SIGSTOP);
          waitpid(reader, nullptr, WUNTRACED);
          browser.Run(change);
          kill(reader, SIGCONT);
        });
    close(watch);
    EXPECT_EQ(status, 0);
    std::vector<std::string> expected;
    for (const auto& moment : moments) expected.push_back(::testing::PrintToString(moment));
    EXPECT_NE(std::find(expected.begin(), expected.end(), read), expected.end()) << read;
  }
}

TEST(ReadFirefoxPlacesTest, AReaderKilledAtAnyMomentLeavesNothingBehind) {
  if (const std::string why = testing::WithoutPosixFiles(); !why.empty()) GTEST_SKIP() << why;
  testing::TempFolder folder;
  folder.MakeFolder("temp");
  folder.MakeFolder("profile");
  const std::string path = folder.Path("profile/places.sqlite");
  // A browser that holds a database of a realistic size, with its history.
  PlacesFile browser(path, "WAL");
  browser.Run("PRAGMA locking_mode = EXCLUSIVE");
  browser.Roots();
  AddHistory(browser);
  browser.Link(10, 3, 0, "Saved", "https://saved.example/");
  const FolderState profile = StateOf(folder.Path("profile"));

  const testing::TemporaryFolderOverride temp(folder.Path("temp"));
  const pid_t reader = fork();
  if (reader == 0) {
    for (;;) ReadFirefoxPlaces(path);
  }
  // Whatever the reader makes at any moment is what a kill then leaves.
  std::set<std::string> made;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
  while (std::chrono::steady_clock::now() < end) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder.Path("temp"), error)) {
      made.insert(entry.path().filename().string());
    }
    for (const auto& entry : fs::directory_iterator(folder.Path("profile"), error)) {
      if (profile.count(entry.path().filename().string()) == 0) {
        made.insert(entry.path().filename().string());
      }
    }
  }
  kill(reader, SIGKILL);
  waitpid(reader, nullptr, 0);
  EXPECT_TRUE(made.empty()) << *made.begin();
  EXPECT_TRUE(fs::is_empty(folder.Path("temp")));
  EXPECT_TRUE(StateOf(folder.Path("profile")) == profile);
}

}  // namespace
}  // namespace qv::import
