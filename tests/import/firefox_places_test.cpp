#include <gtest/gtest.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "import/bookmark_printer.h"
#include "import/bookmark_readers.h"
#include "support/child_process.h"
#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

namespace fs = std::filesystem;

// A places.sqlite with the tables and columns the reader uses, as Firefox
// lays them out.
class PlacesFile {
 public:
  explicit PlacesFile(const std::string& path, const char* journal_mode = "DELETE") {
    EXPECT_EQ(sqlite3_open(path.c_str(), &db_), SQLITE_OK);
    Run(std::string("PRAGMA journal_mode = ") + journal_mode);
    Run("PRAGMA synchronous = OFF");
    Run("PRAGMA wal_autocheckpoint = 0");
    Run("CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR,"
        " guid TEXT)");
    Run("CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT"
        " NULL, parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER,"
        " dateAdded INTEGER, lastModified INTEGER, guid TEXT)");
  }
  ~PlacesFile() { sqlite3_close(db_); }

  // Closing then leaves the log as a browser that is killed does.
  void KeepLogOnClose() {
    EXPECT_EQ(sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr), SQLITE_OK);
  }

  void Run(const std::string& sql) {
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << sql << ": " << (error != nullptr ? error : "");
    sqlite3_free(error);
  }

  void Folder(int id, int parent, int position, const std::string& title,
              const std::string& guid = "") {
    Entry(id, 2, "NULL", parent, position, title, guid);
  }
  void Link(int id, int parent, int position, const std::string& title, const std::string& url) {
    Run("INSERT INTO moz_places (id, url) VALUES (" + std::to_string(id) + ", " + Quote(url) + ")");
    Entry(id, 1, std::to_string(id), parent, position, title, "");
  }
  void Separator(int id, int parent, int position) {
    Entry(id, 3, "NULL", parent, position, "", "");
  }

  // The folders every profile has, under their internal names; the toolbar's
  // is empty and the other folder's is the user's own.
  void Roots() {
    Folder(1, 0, 0, "", "root________");
    Folder(2, 1, 0, "menu", "menu________");
    Folder(3, 1, 1, "", "toolbar_____");
    Folder(4, 1, 2, "tags", "tags________");
    Folder(5, 1, 3, "Andere Lesezeichen", "unfiled_____");
    Folder(6, 1, 4, "mobile", "mobile______");
  }

 private:
  static std::string Quote(const std::string& text) {
    // A blob cast to text keeps bytes that are not valid UTF-8.
    std::string hex;
    for (const unsigned char c : text) {
      hex += "0123456789ABCDEF"[c >> 4];
      hex += "0123456789ABCDEF"[c & 15];
    }
    return "CAST(X'" + hex + "' AS TEXT)";
  }
  void Entry(int id, int type, const std::string& fk, int parent, int position,
             const std::string& title, const std::string& guid) {
    Run("INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, guid) VALUES (" +
        std::to_string(id) + ", " + std::to_string(type) + ", " + fk + ", " +
        std::to_string(parent) + ", " + std::to_string(position) + ", " + Quote(title) + ", " +
        (guid.empty() ? "NULL" : Quote(guid)) + ")");
  }

  sqlite3* db_ = nullptr;
};

TEST(ReadFirefoxPlacesTest, RootsFoldersAndLinksInPositionOrder) {
  testing::TempFolder folder;
  {
    PlacesFile places(folder.Path("places.sqlite"));
    places.Roots();
    places.Folder(10, 2, 2, "Work");
    places.Link(11, 10, 1, "B", "https://b.example/");
    places.Link(12, 10, 0, "A", "https://a.example/");
    places.Folder(13, 10, 3, "Deep");
    places.Link(14, 13, 0, "Deep link", "https://deep.example/");
    places.Folder(15, 10, 2, "Empty");
    places.Separator(16, 2, 1);
    places.Link(17, 2, 0, "Menu link", "https://menu.example/");
    places.Link(20, 3, 1, "Tool", "https://tool.example/");
    places.Link(21, 3, 0, "Most visited", "place:sort=8&maxResults=10");
    places.Run(
        "INSERT INTO moz_bookmarks (id, type, fk, parent, position, title)"
        " VALUES (22, 1, 999, 3, 2, 'Place gone')");
    places.Folder(30, 4, 0, "news");
    places.Link(31, 30, 0, "Tagged", "https://tagged.example/");
    places.Link(40, 5, 0, "Caf\xE9", "https://caf\xC3\xA9.example/\xFF\xED\xA0\x80");
    places.Link(41, 5, 1, "Bell\x07", "https://bell.example/");
    places.Link(42, 5, 2, "", "https://untitled.example/");
    places.Link(50, 6, 0, "Phone", "https://phone.example/");
    // Parent links that loop: out of reach of the root, or back to it.
    places.Folder(60, 61, 0, "Loop A");
    places.Folder(61, 60, 0, "Loop B");
    places.Link(62, 61, 1, "Lost", "https://lost.example/");
    places.Folder(63, 63, 0, "Own parent");
    places.Run("UPDATE moz_bookmarks SET parent = 10 WHERE id = 1");
  }
  const SourceBookmarks expected = {
      {"Bookmarks Menu", {}, "Menu link", "https://menu.example/"},
      {"Bookmarks Menu", {"Work"}, "A", "https://a.example/"},
      {"Bookmarks Menu", {"Work"}, "B", "https://b.example/"},
      {"Bookmarks Menu", {"Work", "Deep"}, "Deep link", "https://deep.example/"},
      {"Bookmarks Toolbar", {}, "Most visited", "place:sort=8&maxResults=10"},
      {"Bookmarks Toolbar", {}, "Tool", "https://tool.example/"},
      {"Andere Lesezeichen",
       {},
       "Caf\xEF\xBF\xBD",
       "https://café.example/\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"Andere Lesezeichen", {}, "Bell\x07", "https://bell.example/"},
      {"Andere Lesezeichen", {}, "", "https://untitled.example/"},
      {"Mobile Bookmarks", {}, "Phone", "https://phone.example/"},
  };
  const Result<SourceBookmarks> read = ReadFirefoxPlaces(folder.Path("places.sqlite"));
  ASSERT_TRUE(read.ok()) << read.status().reason();
  EXPECT_EQ(*read, expected);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Points the temporary folder of the process at `folder` for one scope.
class TemporaryFolderOverride {
 public:
  explicit TemporaryFolderOverride(const std::string& folder) {
    if (const char* old = getenv("TMPDIR")) old_ = old;
    setenv("TMPDIR", folder.c_str(), 1);
  }
  ~TemporaryFolderOverride() {
    if (old_.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", old_.c_str(), 1);
    }
  }

 private:
  std::string old_;
};

// Every entry of a folder with its bytes and the time it was last written.
using FolderState = std::map<std::string, std::pair<std::string, fs::file_time_type>>;

FolderState StateOf(const std::string& folder) {
  FolderState state;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    std::ifstream in(entry.path(), std::ios::binary);
    state[entry.path().filename().string()] = {std::string(std::istreambuf_iterator<char>(in), {}),
                                               fs::last_write_time(entry, error)};
  }
  return state;
}

std::vector<std::string> NamesIn(const FolderState& state) {
  std::vector<std::string> names;
  for (const auto& [name, contents] : state) names.push_back(name);
  return names;
}

const SourceBookmarks kSaved = {{"Bookmarks Toolbar", {}, "Saved", "https://saved.example/"}};

// History enough for the files to take a while to read.
void AddHistory(PlacesFile& browser) {
  browser.Run(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60000)"
      " INSERT INTO moz_places (id, url) SELECT 1000 + i, 'https://visited.example/' || i ||"
      " printf('%.200c', 'x') FROM n");
}

// A profile's places.sqlite with one saved link, and a change that the
// browser has begun but not saved: too large for its memory, it is partly
// written to the files already, the link's new title among it (into the log,
// or into the database with the old page in the journal).
void BeginUnsavedChange(PlacesFile& browser) {
  browser.Roots();
  browser.Link(10, 3, 0, "Saved", "https://saved.example/");
  browser.Run("PRAGMA cache_size = 10");
  browser.Run("BEGIN IMMEDIATE");
  browser.Run("UPDATE moz_bookmarks SET title = 'Not saved' WHERE id = 10");
  browser.Run(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)"
      " INSERT INTO moz_places (id, url) SELECT 100 + i, 'https://visited.example/' || i ||"
      " printf('%.100c', 'x') FROM n");
}

TEST(ReadFirefoxPlacesTest, ReadsWhatIsSavedWhileTheBrowserHoldsTheDatabase) {
  const struct {
    const char* journal_mode;
    bool exclusive;
  } cases[] = {{"WAL", true}, {"WAL", false}, {"DELETE", true}, {"DELETE", false}};
  for (const auto& [journal_mode, exclusive] : cases) {
    SCOPED_TRACE(std::string(journal_mode) + (exclusive ? " exclusive" : " normal"));
    testing::TempFolder folder;
    folder.MakeFolder("temp");
    folder.MakeFolder("profile");
    folder.MakeFolder("killed");
    const std::string path = folder.Path("profile/places.sqlite");
    PlacesFile browser(path, journal_mode);
    // In exclusive mode the first write takes a lock that is never given back.
    if (exclusive) browser.Run("PRAGMA locking_mode = EXCLUSIVE");
    BeginUnsavedChange(browser);
    const FolderState held = StateOf(folder.Path("profile"));
    std::string files;
    for (const auto& [name, contents] : held) files += contents.first;
    ASSERT_NE(files.find("Not saved"), std::string::npos) << "the change is not written";
    if (std::string(journal_mode) == "WAL") {
      ASSERT_EQ(held.at("places.sqlite").first.find("//saved.example"), std::string::npos)
          << "the saved link is not only in the log";
    }
    // The same files as a browser killed at this moment leaves them.
    for (const auto& name : NamesIn(held)) {
      fs::copy_file(folder.Path("profile/" + name), folder.Path("killed/" + name));
    }
    const FolderState killed = StateOf(folder.Path("killed"));

    const TemporaryFolderOverride temp(folder.Path("temp"));
    for (const char* profile : {"profile", "killed"}) {
      SCOPED_TRACE(profile);
      const Result<SourceBookmarks> read =
          ReadFirefoxPlaces(folder.Path(std::string(profile) + "/places.sqlite"));
      EXPECT_TRUE(read.ok()) << read.status().reason();
      if (read.ok()) {
        EXPECT_EQ(*read, kSaved);
      }
    }
    EXPECT_TRUE(StateOf(folder.Path("profile")) == held) << "the browser's files changed";
    EXPECT_TRUE(StateOf(folder.Path("killed")) == killed) << "the killed browser's files changed";
    EXPECT_TRUE(fs::is_empty(folder.Path("temp"))) << "a copy was left behind";
    browser.Run("COMMIT");
  }
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

TEST(ReadFirefoxPlacesTest, ReadsAClosedDatabaseWithoutWritingBesideIt) {
  if (const std::string why = testing::WithoutPosixFiles(); !why.empty()) GTEST_SKIP() << why;
  const struct {
    const char* name;
    const char* journal_mode;
    bool log_left;        // closed without moving its log into the database
    bool through_a_link;  // the path read is a link to the database
  } cases[] = {{"log mode", "WAL", false, false},
               {"log mode, log left", "WAL", true, false},
               {"journal mode", "DELETE", false, false},
               {"a link to it, log left", "WAL", true, true}};
  bool no_read_only_folder = false;
  for (const auto& [name, journal_mode, log_left, through_a_link] : cases) {
    SCOPED_TRACE(name);
    testing::TempFolder folder;
    folder.MakeFolder("profile");
    const std::string profile = folder.Path("profile");
    std::string path = folder.Path("profile/places.sqlite");
    {
      PlacesFile browser(path, journal_mode);
      browser.Roots();
      browser.Link(10, 3, 0, "Saved", "https://saved.example/");
      if (log_left) browser.KeepLogOnClose();
    }
    if (log_left) {
      ASSERT_TRUE(folder.Exists("profile/places.sqlite-wal"));
    }
    if (through_a_link) {
      ASSERT_TRUE(testing::MakeSymbolicLink(path, folder.Path("link.sqlite")));
      path = folder.Path("link.sqlite");
    }
    const FolderState before = StateOf(profile);
    const Result<SourceBookmarks> read = ReadFirefoxPlaces(path);
    ASSERT_TRUE(read.ok()) << read.status().reason();
    EXPECT_EQ(*read, kSaved);
    EXPECT_EQ(NamesIn(StateOf(profile)), NamesIn(before));
    EXPECT_TRUE(StateOf(profile) == before) << "a file changed";

    for (const auto& file : NamesIn(before)) testing::SetFileMode(profile + "/" + file, 0444);
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

TEST(ReadFirefoxPlacesTest, ReadsTwoDatabasesAtOnce) {
  testing::TempFolder folder;
  const SourceBookmarks other_links = {
      {"Bookmarks Toolbar", {}, "Other", "https://other.example/"}};
  for (const auto& [name, links] : {std::pair("one.sqlite", kSaved), {"two.sqlite", other_links}}) {
    PlacesFile places(folder.Path(name));
    places.Roots();
    places.Link(10, 3, 0, links[0].title, links[0].address);
  }
  // Each read has files of its own, also while another read runs.
  const auto read_over_and_over = [&](const char* name, const SourceBookmarks& expected) {
    for (int read = 0; read < 300; ++read) {
      const Result<SourceBookmarks> links = ReadFirefoxPlaces(folder.Path(name));
      if (!links.ok() || *links != expected) {
        ADD_FAILURE() << name << ": "
                      << (links.ok() ? links->front().title : links.status().reason());
        return;
      }
    }
  };
  std::thread other([&] { read_over_and_over("two.sqlite", other_links); });
  read_over_and_over("one.sqlite", kSaved);
  other.join();
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

  const TemporaryFolderOverride temp(folder.Path("temp"));
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

TEST(ReadFirefoxPlacesTest, RefusesWhatIsNoFirefoxBookmarksDatabase) {
  const struct {
    const char* name;
    void (*make)(const std::string& path);
    std::string reason;
  } cases[] = {
      {"missing", [](const std::string&) {}, "cannot open"},
      {"text", [](const std::string& path) { WriteBytes(path, "hello"); },
       "file is not a database"},
      {"larger than a read holds",
       [](const std::string& path) {
         testing::MakeSparseFile(path, std::string("SQLite format 3\0", 16), 513u << 20);
       },
       "is larger than 512 MiB"},
      {"broken",
       [](const std::string& path) {
         WriteBytes(path, std::string("SQLite format 3\0", 16) + std::string(4096, '\x55'));
       },
       "cannot read"},
      {"foreign",
       [](const std::string& path) {
         sqlite3* db = nullptr;
         sqlite3_open(path.c_str(), &db);
         sqlite3_exec(db, "CREATE TABLE notes (id INTEGER, text TEXT)", nullptr, nullptr, nullptr);
         sqlite3_close(db);
       },
       "is not a Firefox bookmarks database: it has no bookmark tables"},
      {"no root", [](const std::string& path) { PlacesFile places(path); },
       "is not a Firefox bookmarks database: it has no root folder"},
      {"older columns",
       [](const std::string& path) {
         PlacesFile places(path);
         places.Run("ALTER TABLE moz_bookmarks DROP COLUMN guid");
       },
       "is not a Firefox bookmarks database this program can read: no such column"},
      {"a link in 101 folders",
       [](const std::string& path) {
         PlacesFile places(path);
         places.Roots();
         places.Run("BEGIN");
         for (int level = 0; level <= 100; ++level)
           places.Folder(100 + level, level == 0 ? 2 : 99 + level, 0, "F");
         places.Link(5000, 200, 0, "Deep", "https://deep.example/");
         places.Run("COMMIT");
       },
       "has folders nested more than 100 deep"},
      {"too many entries",
       [](const std::string& path) {
         PlacesFile places(path);
         places.Roots();
         places.Run(
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200000)"
             " INSERT INTO moz_bookmarks (id, type, parent, position) SELECT 100 + i, 3, 2, i FROM "
             "n");
       },
       "holds more than 200000 bookmarks, folders and separators"},
  };
  for (const auto& [name, make, reason] : cases) {
    testing::TempFolder folder;
    const std::string path = folder.Path("places.sqlite");
    make(path);
    const Result<SourceBookmarks> read = ReadFirefoxPlaces(path);
    ASSERT_FALSE(read.ok()) << name;
    EXPECT_NE(read.status().reason().find(reason), std::string::npos)
        << name << ": " << read.status().reason();
    EXPECT_EQ(read.status().reason().find('\n'), std::string::npos) << name;
  }
}

TEST(ReadFirefoxPlacesTest, FoldersNestedUpToTheLimit) {
  testing::TempFolder folder;
  {
    PlacesFile places(folder.Path("places.sqlite"));
    places.Roots();
    places.Run("BEGIN");
    for (int level = 1; level <= static_cast<int>(kMaxFolderDepth); ++level) {
      places.Folder(100 + level, level == 1 ? 2 : 99 + level, 0, "F" + std::to_string(level));
    }
    places.Link(5000, 100 + kMaxFolderDepth, 0, "Deep", "https://deep.example/");
    places.Run("COMMIT");
  }
  const Result<SourceBookmarks> read = ReadFirefoxPlaces(folder.Path("places.sqlite"));
  ASSERT_TRUE(read.ok()) << read.status().reason();
  ASSERT_EQ(read->size(), 1u);
  EXPECT_EQ((*read)[0].folders.size(), kMaxFolderDepth);
  EXPECT_EQ((*read)[0].folders.back(), "F" + std::to_string(kMaxFolderDepth));
}

}  // namespace
}  // namespace qv::import
