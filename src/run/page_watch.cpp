#include "run/page_watch.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "generator/file_replacement.h"
#include "generator/file_system.h"
#include "generator/side_files.h"
#include "generator/text_encoding.h"
#include "settings/favorites_lookup.h"
#include "settings/language.h"
#include "settings/settings_file.h"

namespace qv {
namespace {

// The program folder's files a run reads.
constexpr std::array<std::string_view, 5> kProgramInputs = {
    kSettingsFileName, kHeaderTemplateName, kFooterTemplateName, kDutchLanguageFileName,
    kEnglishLanguageFileName};

// The page, the jump list, and the temporary files a run writes them as.
bool IsOwnOutput(const std::string& name, const PageSources& sources) {
  return name == sources.page_file_name || name == kOptionFileName ||
         IsTemporaryFileName(name, kIntermediateFileName);
}

bool IsProgramInput(const std::string& name) {
  for (const std::string_view input : kProgramInputs) {
    if (name == input) return true;
  }
  return false;
}

// True when both paths name the same folder, also through another spelling
// (a link, or the program folder inside the Favorites folder).
bool SameFolder(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code error;
  return std::filesystem::equivalent(NativePath(a), NativePath(b), error);
}

// The folders whose entries the run reads now: the Favorites folder with its
// category folders, and the program folder when its files count; each once.
std::vector<WatchedFolder> FoldersReadNow(const PageSources& sources) {
  std::vector<WatchedFolder> folders;
  const bool favorites =
      !sources.favorites_folder.empty() && IsExistingFolder(sources.favorites_folder);
  if (favorites) folders.push_back({sources.favorites_folder, true});
  if (sources.program_files && IsExistingFolder(sources.app_folder) &&
      !(favorites && sources.favorites_folder == sources.app_folder)) {
    folders.push_back({sources.app_folder, false});
  }
  return folders;
}

// The folders in which a missing Favorites or program folder, or a folder on
// the way to it, will appear; none that is watched anyway.
std::vector<WatchedFolder> FoldersToWaitIn(const PageSources& sources,
                                           const std::vector<WatchedFolder>& watched) {
  std::vector<WatchedFolder> folders;
  const auto wait_for = [&](const std::string& missing) {
    const std::string nearest = FolderToWatchFor(missing);
    const auto watches = [&nearest](const WatchedFolder& folder) { return folder.path == nearest; };
    if (nearest.empty() || nearest == missing ||
        std::any_of(watched.begin(), watched.end(), watches) ||
        std::any_of(folders.begin(), folders.end(), watches)) {
      return;
    }
    folders.push_back({nearest, false});
  };
  if (!sources.favorites_folder.empty()) wait_for(sources.favorites_folder);
  if (sources.program_files) wait_for(sources.app_folder);
  return folders;
}

}  // namespace

PageSources PageSourcesOf(const ProgramState& state, const std::string& app_folder,
                          bool program_files) {
  const std::string& favorites = state.settings.favorites_folder;
  return {app_folder, favorites.empty() ? std::string() : WithTrailingSeparator(favorites),
          PageFileNameFrom(state.settings.page_file_name), program_files};
}

PageSources UpcomingPageSources(const ProgramState& state, RunSurroundings& surroundings,
                                bool program_files) {
  ProgramState upcoming = state;
  const std::string app_folder = surroundings.Folders().own;
  if (!app_folder.empty()) LoadSettings(upcoming, app_folder);
  SettleFavoritesFolder(upcoming.settings, surroundings.Favorites());
  return PageSourcesOf(upcoming, app_folder, program_files);
}

std::vector<WatchedFolder> FoldersToWatch(const PageSources& sources) {
  std::vector<WatchedFolder> folders = FoldersReadNow(sources);
  // Last, so that when they cannot be watched the others still are.
  for (WatchedFolder& waiting_in : FoldersToWaitIn(sources, folders)) {
    folders.push_back(std::move(waiting_in));
  }
  return folders;
}

Status WatchSources(FolderWatcher& watcher, const PageSources& sources) {
  const Status watching =
      WatchFoldersAsTheyAre(watcher, [&sources] { return FoldersToWatch(sources); });
  if (watching.ok() || FoldersToWatch(sources) == FoldersReadNow(sources)) return watching;
  // A folder above a missing folder that cannot be watched only means that
  // its coming goes unseen; what the run reads now is watched.
  return WatchFoldersAsTheyAre(watcher, [&sources] { return FoldersReadNow(sources); });
}

bool ChangeMatters(const EntryChange& change, const PageSources& sources) {
  // Before the rule on hidden names: a folder on the way may be hidden.
  if (OnTheWayTo(change, sources.favorites_folder)) return true;
  if (sources.program_files && OnTheWayTo(change, sources.app_folder)) return true;
  if (!change.name.empty() && change.name.front() == '.') return false;
  if (IsOwnOutput(change.name, sources) && SameFolder(change.folder, sources.app_folder)) {
    return false;
  }
  if (sources.program_files && change.folder == sources.app_folder &&
      (change.name.empty() || IsProgramInput(change.name))) {
    return true;
  }
  const std::string& favorites = sources.favorites_folder;
  if (favorites.empty() || !change.folder.starts_with(favorites)) return false;
  const std::string_view below = std::string_view(change.folder).substr(favorites.size());
  // Beside the category folders only folders count; inside them everything.
  if (below.empty()) return change.maybe_folder;
  return below.find(kPathSeparator) == below.size() - 1;
}

Status BuildAndWatch(ProgramState& state, RunSurroundings& surroundings, FolderWatcher& watcher,
                     const std::function<bool()>& stopped,
                     const std::function<void(const RunReport&)>& built, SettleTimes times) {
  const std::string app_folder = surroundings.Folders().own;
  bool watched_what_was_read = true;
  for (;;) {
    const PageSources watched = UpcomingPageSources(state, surroundings, true);
    const Status watching = WatchSources(watcher, watched);
    if (!watching.ok()) return watching;
    built(BuildStartPage(state, surroundings));
    // Settings saved between the look ahead and the run may have moved the
    // Favorites folder: watch the folder the run read, and read it once more.
    if (PageSourcesOf(state, app_folder, true) != watched && watched_what_was_read) {
      watched_what_was_read = false;
      continue;
    }
    watched_what_was_read = true;
    const auto matters = [&watched](const EntryChange& change) {
      return ChangeMatters(change, watched);
    };
    const Result<bool> settled = WaitForSettledChanges(watcher, matters, stopped, times);
    if (!settled.ok()) return settled.status();
    if (!*settled) return Status::Ok();
  }
}

Result<std::unique_ptr<BackgroundPageWatch>> BackgroundPageWatch::Start(
    std::function<void()> changed, SettleTimes times) {
  Result<std::unique_ptr<FolderWatcher>> watcher = FolderWatcher::Open();
  if (!watcher.ok()) return watcher.status();
  return std::unique_ptr<BackgroundPageWatch>(
      new BackgroundPageWatch(std::move(*watcher), std::move(changed), times));
}

BackgroundPageWatch::BackgroundPageWatch(std::unique_ptr<FolderWatcher> watcher,
                                         std::function<void()> changed, SettleTimes times)
    : watcher_(std::move(watcher)), changed_(std::move(changed)), times_(times) {
  thread_ = std::thread([this] { Loop(); });
}

BackgroundPageWatch::~BackgroundPageWatch() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  followed_.notify_all();
  watcher_->Wake();
  thread_.join();
}

void BackgroundPageWatch::Follow(const PageSources& sources) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (sources == sources_) return;
    sources_ = sources;
    sources_changed_ = true;
  }
  followed_.notify_all();
  watcher_->Wake();
}

void BackgroundPageWatch::Loop() {
  const auto interrupted = [this] {
    std::lock_guard<std::mutex> lock(mutex_);
    return stopping_ || sources_changed_;
  };
  for (;;) {
    PageSources sources;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) return;
      sources = sources_;
      sources_changed_ = false;
    }
    const auto matters = [&sources](const EntryChange& change) {
      return ChangeMatters(change, sources);
    };
    Status watching = WatchSources(*watcher_, sources);
    Result<bool> settled = watching.ok()
                               ? WaitForSettledChanges(*watcher_, matters, interrupted, times_)
                               : Result<bool>(watching);
    if (settled.ok()) {
      if (!*settled) continue;
      // Watched again before the program's run reads them: a Favorites
      // folder that has just appeared is then watched from the run on.
      watching = WatchSources(*watcher_, sources);
      changed_();
      if (watching.ok()) continue;
    }
    // Nothing to watch until the program follows other folders.
    std::unique_lock<std::mutex> lock(mutex_);
    followed_.wait(lock, [this] { return stopping_ || sources_changed_; });
  }
}

}  // namespace qv
