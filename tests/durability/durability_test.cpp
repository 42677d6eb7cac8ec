// Whether replaced files are durable before they take their final names: the
// file flushed before its rename, and the rename flushed after, so that a
// crash leaves each file whole, old or new. Nothing else shows this, so the
// system's flush and rename calls are watched: this program defines them
// itself, records each call, and hands it on to the C library. POSIX only.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <stdio.h>
#include <unistd.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "generator/file_replacement.h"
#include "generator/open_folder.h"
#include "run/start_page.h"
#include "support/fake_surroundings.h"
#include "support/temp_folder.h"

namespace {

struct Call {
  std::string kind;  // "flush", "flush all" or "rename"
  std::string path;  // flushed, or renamed from
  std::string to;    // renamed to
};

std::mutex calls_mutex;
std::vector<Call> calls;

void Record(Call call) {
  std::lock_guard<std::mutex> lock(calls_mutex);
  calls.push_back(std::move(call));
}

std::string PathOf(int fd) {
  char path[PATH_MAX];
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t size = readlink(link.c_str(), path, sizeof(path));
  return size > 0 ? std::string(path, static_cast<std::size_t>(size)) : std::string();
}

std::string PathAt(int folder_fd, const char* name) {
  if (name[0] == '/') return name;
  return (folder_fd == AT_FDCWD ? std::string(".") : PathOf(folder_fd)) + "/" + name;
}

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

int fsync(int fd) {
  Record({"flush", PathOf(fd), ""});
  return Next<int (*)(int)>("fsync")(fd);
}

int fdatasync(int fd) {
  Record({"flush", PathOf(fd), ""});
  return Next<int (*)(int)>("fdatasync")(fd);
}

void sync() {
  Record({"flush all", "", ""});
  Next<void (*)()>("sync")();
}

int rename(const char* from, const char* to) {
  Record({"rename", PathAt(AT_FDCWD, from), PathAt(AT_FDCWD, to)});
  return Next<int (*)(const char*, const char*)>("rename")(from, to);
}

int renameat(int from_fd, const char* from, int to_fd, const char* to) {
  Record({"rename", PathAt(from_fd, from), PathAt(to_fd, to)});
  return Next<int (*)(int, const char*, int, const char*)>("renameat")(from_fd, from, to_fd, to);
}

int renameat2(int from_fd, const char* from, int to_fd, const char* to, unsigned flags) {
  Record({"rename", PathAt(from_fd, from), PathAt(to_fd, to)});
  return Next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2")(from_fd, from,
                                                                                  to_fd, to, flags);
}

}  // extern "C"

namespace qv {
namespace {

// Why the file at `final_path` was not put in place durably, or "" when it
// was: its temporary flushed (or everything) before the rename, and the
// folder (or everything) after it.
std::string NotDurable(const std::vector<Call>& seen, const std::string& final_path) {
  const std::string folder = final_path.substr(0, final_path.rfind('/'));
  for (std::size_t i = 0; i < seen.size(); ++i) {
    if (seen[i].kind != "rename" || seen[i].to != final_path) continue;
    bool before = false, after = false;
    for (std::size_t j = 0; j < i; ++j) {
      before |=
          seen[j].kind == "flush all" || (seen[j].kind == "flush" && seen[j].path == seen[i].path);
    }
    for (std::size_t j = i + 1; j < seen.size(); ++j) {
      after |= seen[j].kind == "flush all" || (seen[j].kind == "flush" && seen[j].path == folder);
    }
    if (!before) return "not flushed before it was renamed into place";
    if (!after) return "its rename was not flushed";
    return "";
  }
  return "never renamed into place";
}

TEST(DurabilityTest, EveryReplacedFileIsOnDiskBeforeItsNameAndItsNameAfter) {
  testing::TempFolder folder;
  // The paths the system gives for descriptors have no trailing separator.
  const std::string path = folder.path().substr(0, folder.path().size() - 1);
  const auto open = OpenFolder::Open(folder.path());
  ASSERT_TRUE(open.ok());
  const struct {
    const char* what;
    std::function<Status()> replace;
    std::vector<const char*> files;
  } cases[] = {
      {"one file",
       [&] { return ReplaceFileAtomically(folder.Path("ins.txt"), "settings"); },
       {"ins.txt"}},
      {"a batch",
       [&] {
         FileReplacements batch;
         for (const char* name : {"a.url", "b.url"}) {
           if (Status staged = batch.Stage(*open, name, name); !staged.ok()) return staged;
         }
         return batch.Commit();
       },
       {"a.url", "b.url"}},
      {"a run",
       [&] {
         ProgramState state;
         testing::FakeSurroundings surroundings(folder.path());
         return BuildStartPage(state, surroundings).page_status;
       },
       {"mijnstart.html", "option.txt"}},
  };
  for (const auto& c : cases) {
    calls.clear();
    ASSERT_TRUE(c.replace().ok()) << c.what;
    for (const char* name : c.files) {
      EXPECT_EQ(NotDurable(calls, path + "/" + name), "") << c.what << ": " << name;
    }
  }
}

}  // namespace
}  // namespace qv
