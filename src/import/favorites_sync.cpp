#include "import/favorites_sync.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "generator/file_replacement.h"
#include "generator/file_system.h"
#include "generator/folder_scan.h"
#include "import/favorites_names.h"
#include "import/source_file.h"

namespace qv::import {
namespace {

namespace fs = std::filesystem;

// An import list larger than this is no list the importer wrote.
constexpr std::size_t kLongestManifest = 64u << 20;
// Nor is a shortcut file larger than this one of its own.
constexpr std::size_t kLongestImportedFile = 16u << 20;

// What an entry is, seen without following a symbolic link.
enum class EntryType { kFolder, kFile, kOther };

struct Entry {
  std::string name;
  EntryType type;
};

// The entries of a folder, hidden ones included, under their NameKey.
using EntriesByKey = std::unordered_map<std::string, std::vector<Entry>>;

const Entry* FindExact(const EntriesByKey& entries, const std::string& name) {
  const auto found = entries.find(NameKey(name));
  if (found == entries.end()) return nullptr;
  for (const Entry& entry : found->second) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

EntryType TypeOf(const fs::directory_entry& entry) {
  std::error_code error;
  const fs::file_status status = entry.symlink_status(error);
  if (error) return EntryType::kOther;
  if (fs::is_directory(status)) return EntryType::kFolder;
  if (fs::is_regular_file(status)) return EntryType::kFile;
  return EntryType::kOther;
}

// The entries of `folder`; a folder that does not exist has none.
Result<EntriesByKey> ReadEntries(const std::string& folder) {
  EntriesByKey entries;
  std::error_code error;
  fs::directory_iterator it(fs::path(folder), error);
  if (error == std::errc::no_such_file_or_directory) return entries;
  for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
    std::string name = it->path().filename().string();
    const EntryType type = TypeOf(*it);
    entries[NameKey(name)].push_back({std::move(name), type});
  }
  if (error) return Status::Error("cannot read the folder " + folder + ": " + error.message());
  return entries;
}

std::string JoinRelative(const std::string& folder, const std::string& name) {
  return folder + "/" + name;
}

// A path of the import list ("News/Example.url") as a path of this system
// inside `root`.
std::string NativePath(const std::string& root, std::string relative) {
  std::replace(relative.begin(), relative.end(), '/', kPathSeparator);
  return root + relative;
}

// A file the importer wrote and that is still as it left it.
struct OwnedFile {
  std::string name;
  std::uint64_t fingerprint;
};

// Builds the plan of changes for one Favorites folder.
class SyncPlanner {
 public:
  SyncPlanner(const FavoritesPlan& plan, std::string root) : plan_(plan), root_(std::move(root)) {}

  Result<SyncPlan> Plan() {
    auto top = ReadEntries(root_);
    if (!top.ok()) return top.status();
    top_ = std::move(*top);
    ReadManifest();
    for (const std::string& name : ListFolder(root_, EntryKind::kFolder)) visible_.insert(name);
    const Status owned = FindOwned();
    if (!owned.ok()) return owned;
    for (const PlannedCategory& category : plan_.categories) {
      const auto [folder, is_new] = PlaceCategory(category.name);
      used_folders_.insert(folder);
      if (is_new) {
        folders_made_.insert(folder);
        sync_.changes.push_back({ChangeKind::kAddFolder, folder, ""});
      }
      const Status placed = PlaceLinks(category, folder, is_new);
      if (!placed.ok()) return placed;
    }
    const Status removals = PlanRemovals();
    if (!removals.ok()) return removals;
    FinishManifests();
    return std::move(sync_);
  }

 private:
  void ReadManifest() {
    const Entry* entry = FindExact(top_, std::string(kManifestFileName));
    if (entry == nullptr || entry->type != EntryType::kFile) return;
    const auto text = ReadWholeFile(root_ + std::string(kManifestFileName), kLongestManifest);
    if (!text.ok()) return;  // unreadable: nothing is taken for the importer's own
    sync_.manifest_before = ParseManifest(*text, &sync_.manifest_lines_left_out);
  }

  // The entries of category folder `folder`, read once.
  Result<const EntriesByKey*> EntriesOf(const std::string& folder) {
    auto known = folder_entries_.find(folder);
    if (known == folder_entries_.end()) {
      auto entries = ReadEntries(root_ + folder);
      if (!entries.ok()) return entries.status();
      known = folder_entries_.emplace(folder, std::move(*entries)).first;
    }
    return &known->second;
  }

  bool IsRealFolder(const std::string& name) const {
    const Entry* entry = FindExact(top_, name);
    return entry != nullptr && entry->type == EntryType::kFolder;
  }

  // The folders and files of the import list that are still the importer's:
  // real folders, and real files whose contents it wrote.
  Status FindOwned() {
    for (const std::string& folder : sync_.manifest_before.folders) {
      if (IsRealFolder(folder)) owned_folders_.insert(folder);
    }
    for (const auto& [path, fingerprints] : sync_.manifest_before.files) {
      const std::size_t slash = path.find('/');
      const std::string folder = path.substr(0, slash);
      const std::string name = path.substr(slash + 1);
      if (!IsRealFolder(folder)) continue;
      auto entries = EntriesOf(folder);
      if (!entries.ok()) return entries.status();
      const Entry* entry = FindExact(**entries, name);
      if (entry == nullptr || entry->type != EntryType::kFile) continue;
      const auto contents = ReadWholeFile(NativePath(root_, path), kLongestImportedFile);
      if (!contents.ok()) continue;
      const std::uint64_t fingerprint = ContentFingerprint(*contents);
      if (fingerprints.count(fingerprint) == 0) continue;  // changed by the user
      owned_[folder].push_back({name, fingerprint});
    }
    return Status::Ok();
  }

  // An existing folder that can hold the category: a real, visible folder
  // that the scan takes, the exact spelling first.
  const Entry* UsableFolder(const std::vector<Entry>& entries, const std::string& name) const {
    const Entry* usable = nullptr;
    for (const Entry& entry : entries) {
      if (entry.type != EntryType::kFolder || !visible_.count(entry.name) ||
          IsReservedFolder(entry.name)) {
        continue;
      }
      if (entry.name == name) return &entry;
      if (usable == nullptr) usable = &entry;
    }
    return usable;
  }

  // The folder of a category and whether it is to be made: the first
  // numbering of its name that no other category holds and that is free or
  // an existing folder.
  std::pair<std::string, bool> PlaceCategory(const std::string& name) {
    for (int number = 1;; ++number) {
      const std::string candidate = NumberedName(name, number, "");
      const std::string key = NameKey(candidate);
      if (IsReservedFolder(candidate) || !claimed_folders_.insert(key).second) continue;
      const auto found = top_.find(key);
      if (found == top_.end()) return {candidate, true};
      if (const Entry* usable = UsableFolder(found->second, candidate))
        return {usable->name, false};
      claimed_folders_.erase(key);
    }
  }

  // Names the links of a category in `folder`: first each link keeps a file
  // of the importer's with its very contents under a numbering of its name,
  // so that a link added in between does not renumber the others; then the
  // rest take the first numbering that is free or the importer's own.
  Status PlaceLinks(const PlannedCategory& category, const std::string& folder, bool is_new) {
    static const EntriesByKey kNoEntries;
    const EntriesByKey* entries = &kNoEntries;
    if (!is_new) {
      auto read = EntriesOf(folder);
      if (!read.ok()) return read.status();
      entries = *read;
    }
    const std::vector<OwnedFile>& owned = owned_[folder];
    std::unordered_multimap<std::uint64_t, const OwnedFile*> owned_by_contents;
    std::unordered_map<std::string, const OwnedFile*> owned_by_name;
    for (const OwnedFile& file : owned) {
      owned_by_contents.emplace(file.fingerprint, &file);
      owned_by_name.emplace(file.name, &file);
    }

    std::unordered_set<std::string> claimed;
    std::vector<std::string> names(category.links.size());
    std::vector<std::uint64_t> fingerprints(category.links.size());
    for (std::size_t i = 0; i < category.links.size(); ++i) {
      const PlannedLink& link = category.links[i];
      fingerprints[i] = ContentFingerprint(link.contents);
      const auto [first, last] = owned_by_contents.equal_range(fingerprints[i]);
      for (auto it = first; it != last && names[i].empty(); ++it) {
        const std::string& name = it->second->name;
        if (IsNumberingOf(name, link.stem, kShortcutExtension) &&
            claimed.insert(NameKey(name)).second) {
          names[i] = name;
        }
      }
    }
    for (std::size_t i = 0; i < category.links.size(); ++i) {
      for (int number = 1; names[i].empty(); ++number) {
        const std::string candidate =
            NumberedName(category.links[i].stem, number, kShortcutExtension);
        const std::string key = NameKey(candidate);
        if (claimed.count(key)) continue;
        if (entries->count(key) && !owned_by_name.count(candidate)) continue;  // the user's
        claimed.insert(key);
        names[i] = candidate;
      }
    }

    for (std::size_t i = 0; i < category.links.size(); ++i) {
      const std::string path = JoinRelative(folder, names[i]);
      sync_.manifest_after.files[path] = {fingerprints[i]};
      const auto kept = owned_by_name.find(names[i]);
      if (kept == owned_by_name.end()) {
        sync_.changes.push_back({ChangeKind::kAdd, path, category.links[i].contents});
      } else if (kept->second->fingerprint != fingerprints[i]) {
        sync_.changes.push_back({ChangeKind::kChange, path, category.links[i].contents});
      } else {
        ++sync_.unchanged;
      }
      kept_paths_.insert(path);
    }
    return Status::Ok();
  }

  // The importer's files that no link keeps go; so do the folders it made
  // that no category uses and that are left with nothing in them, hidden
  // entries included.
  Status PlanRemovals() {
    std::map<std::string, std::size_t> removed_from;
    for (const auto& [folder, files] : owned_) {
      for (const OwnedFile& file : files) {
        const std::string path = JoinRelative(folder, file.name);
        if (kept_paths_.count(path)) continue;
        sync_.changes.push_back({ChangeKind::kRemove, path, ""});
        ++removed_from[folder];
      }
    }
    for (const std::string& folder : owned_folders_) {
      if (used_folders_.count(folder)) continue;
      auto entries = EntriesOf(folder);
      if (!entries.ok()) return entries.status();
      std::size_t total = 0;
      for (const auto& [key, same_key] : **entries) total += same_key.size();
      if (total == removed_from[folder]) {
        sync_.changes.push_back({ChangeKind::kRemoveFolder, folder, ""});
        folders_emptied_.insert(folder);
      }
    }
    return Status::Ok();
  }

  void FinishManifests() {
    std::set<std::string> folders = owned_folders_;
    folders.insert(folders_made_.begin(), folders_made_.end());
    ImportManifest& during = sync_.manifest_during;
    during.folders = folders;
    during.files = sync_.manifest_after.files;
    for (const auto& [folder, files] : owned_) {
      for (const OwnedFile& file : files) {
        during.files[JoinRelative(folder, file.name)].insert(file.fingerprint);
      }
    }
    for (const std::string& folder : folders_emptied_) folders.erase(folder);
    sync_.manifest_after.folders = std::move(folders);
  }

  const FavoritesPlan& plan_;
  const std::string root_;
  SyncPlan sync_;
  EntriesByKey top_;
  std::unordered_set<std::string> visible_;
  std::map<std::string, EntriesByKey> folder_entries_;
  std::set<std::string> owned_folders_;
  std::map<std::string, std::vector<OwnedFile>> owned_;
  std::unordered_set<std::string> claimed_folders_;
  std::set<std::string> used_folders_;
  std::set<std::string> folders_made_;
  std::set<std::string> folders_emptied_;
  std::unordered_set<std::string> kept_paths_;
};

Status WriteManifest(const std::string& root, const ImportManifest& manifest) {
  return ReplaceFileAtomically(root + std::string(kManifestFileName), FormatManifest(manifest));
}

Status MakeFolder(const std::string& path) {
  std::error_code error;
  fs::create_directory(fs::path(path), error);
  if (error) return Status::Error("cannot create the folder " + path + ": " + error.message());
  return Status::Ok();
}

// Stages a file only for a real folder, never for a symbolic link put in its
// place since the plan was made.
Status StageImportedFile(const std::string& root, const FolderChange& change,
                         FileReplacements& replacements) {
  const std::string folder = NativePath(root, change.path.substr(0, change.path.find('/')));
  std::error_code error;
  if (!fs::is_directory(fs::symlink_status(fs::path(folder), error))) {
    return Status::Error("cannot write into " + folder + ": it is no longer a folder");
  }
  return replacements.Stage(NativePath(root, change.path), change.contents);
}

}  // namespace

Result<SyncPlan> PlanSync(const FavoritesPlan& plan, const std::string& favorites_folder) {
  return SyncPlanner(plan, WithTrailingSeparator(favorites_folder)).Plan();
}

Status ApplySync(const SyncPlan& sync, const std::string& favorites_folder) {
  const std::string root = WithTrailingSeparator(favorites_folder);
  if (sync.changes.empty()) {
    if (sync.manifest_after == sync.manifest_before) return Status::Ok();
    return WriteManifest(root, sync.manifest_after);
  }
  Status status = WriteManifest(root, sync.manifest_during);
  ImportManifest after = sync.manifest_after;
  // The folders first, then every file at once, then what goes.
  FileReplacements replacements;
  for (const FolderChange& change : sync.changes) {
    if (!status.ok()) return status;
    if (change.kind == ChangeKind::kAddFolder) status = MakeFolder(NativePath(root, change.path));
    if (change.kind == ChangeKind::kAdd || change.kind == ChangeKind::kChange) {
      status = StageImportedFile(root, change, replacements);
    }
  }
  if (status.ok()) status = replacements.Commit();
  for (const FolderChange& change : sync.changes) {
    if (!status.ok()) return status;
    const std::string path = NativePath(root, change.path);
    if (change.kind == ChangeKind::kRemove) status = RemoveFile(path);
    if (change.kind == ChangeKind::kRemoveFolder) {
      // Something put there meanwhile keeps the folder, and it stays listed.
      std::error_code error;
      if (!fs::remove(fs::path(path), error)) after.folders.insert(change.path);
    }
  }
  if (!status.ok()) return status;
  return WriteManifest(root, after);
}

}  // namespace qv::import
