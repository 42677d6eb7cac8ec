// Keeping the page current: what a run reads that may change under it, and
// the loop that builds the page again whenever it does.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "generator/folder_watcher.h"
#include "run/start_page.h"
#include "run/surroundings.h"
#include "settings/program_state.h"

namespace qv {

// The folders a run reads, as they were settled for it.
struct PageSources {
  // The folder the program writes in (ProgramFolders::own), ending in the
  // separator; a template or language file the user puts there counts.
  std::string app_folder;
  std::string favorites_folder;  // ending in the separator; empty when none is known
  std::string page_file_name;    // the page the run writes in the program folder
  // Whether the settings file, templates and language files count too: they
  // do for a watch beside the windows' back, not for the windows that write
  // the settings file themselves.
  bool program_files = false;

  bool operator==(const PageSources&) const = default;
};

// The sources of the run that left `state` behind.
PageSources PageSourcesOf(const ProgramState& state, const std::string& app_folder,
                          bool program_files);

// The sources the next run will read: the settings file read and the
// Favorites folder settled as the run does it, `state` untouched.
PageSources UpcomingPageSources(const ProgramState& state, RunSurroundings& surroundings,
                                bool program_files);

// The folders to watch for `sources`: the Favorites folder with its category
// folders when it exists, the program folder when its files count, and, for
// either of them that does not exist (yet), the nearest folder above it that
// does, last. The watcher follows each by its path, so a folder replaced or
// removed under it is seen too.
std::vector<WatchedFolder> FoldersToWatch(const PageSources& sources);

// Watches FoldersToWatch(sources) with `watcher`. Where the folder above a
// missing folder cannot be watched, the others are watched alone; fails only
// when those cannot be.
Status WatchSources(FolderWatcher& watcher, const PageSources& sources);

// True when `change` can change the page: the Favorites folder (or, when its
// files count, the program folder) or a folder on the way to it that
// appears, goes or is replaced, a category folder that appears,
// goes or is renamed, any visible entry of a category folder, and (when they
// count) the program folder's own inputs. Hidden entries, files beside the
// category folders, and the files a run itself writes in the program folder
// never count, so that a page written inside the Favorites folder does not
// set off a run of its own again and again.
bool ChangeMatters(const EntryChange& change, const PageSources& sources);

// Builds the page, then again after every settled burst of changes that
// matter, calling `built` after each run, until `stopped` holds after a wake
// of `watcher`. The folders are watched before each run reads them, so no
// change during a run goes unseen. Fails only when watching fails.
Status BuildAndWatch(ProgramState& state, RunSurroundings& surroundings, FolderWatcher& watcher,
                     const std::function<bool()>& stopped,
                     const std::function<void(const RunReport&)>& built, SettleTimes times = {});

// A watch on a thread of its own, for a program whose runs happen elsewhere:
// it calls `changed` on its thread once per settled burst of changes that
// matter to the sources it follows.
class BackgroundPageWatch {
 public:
  // Fails when the system gives no watcher.
  static Result<std::unique_ptr<BackgroundPageWatch>> Start(std::function<void()> changed,
                                                            SettleTimes times = {});
  // Stops the thread and waits for it; `changed` is not called afterwards.
  ~BackgroundPageWatch();

  // From now on follows `sources`; a burst under way for other sources is
  // dropped. The same sources again change nothing.
  void Follow(const PageSources& sources);

 private:
  BackgroundPageWatch(std::unique_ptr<FolderWatcher> watcher, std::function<void()> changed,
                      SettleTimes times);
  void Loop();

  std::unique_ptr<FolderWatcher> watcher_;
  std::function<void()> changed_;
  SettleTimes times_;
  std::mutex mutex_;
  std::condition_variable followed_;
  PageSources sources_;           // under mutex_
  bool sources_changed_ = false;  // under mutex_
  bool stopping_ = false;         // under mutex_
  std::thread thread_;
};

}  // namespace qv
