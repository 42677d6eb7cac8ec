#include "import/favorites_sync.h"

#include <cstdint>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "generator/folder_scan.h"
#include "generator/open_folder.h"
#include "import/favorites_names.h"
#include "import/owned_shortcut.h"
#include "import/source_file.h"

namespace qv::import {
namespace {

// An import list larger than this is no list the importer wrote.
constexpr std::size_t kLongestManifest = 64u << 20;

using EntryType = FolderEntry::Type;
using Fingerprints = std::set<std::uint64_t>;

// The entries of a folder, hidden ones included, under their NameKey.
using EntriesByKey = std::unordered_map<std::string, std::vector<FolderEntry>>;

const FolderEntry* FindExact(const EntriesByKey& entries, const std::string& name) {
  const auto found = entries.find(NameKey(name));
  if (found == entries.end()) return nullptr;
  for (const FolderEntry& entry : found->second) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

Result<EntriesByKey> ReadEntries(const OpenFolder& folder) {
  auto entries = folder.Entries();
  if (!entries.ok()) return entries.status();
  EntriesByKey by_key;
  for (FolderEntry& entry : *entries) {
    std::string key = NameKey(entry.name);
    by_key[std::move(key)].push_back(std::move(entry));
  }
  return by_key;
}

std::string JoinRelative(const std::string& folder, const std::string& name) {
  return folder + "/" + name;
}

// A file the importer wrote and that is still as it left it.
struct OwnedFile {
  std::string name;
  std::uint64_t fingerprint;
};

// Builds the plan of changes for one Favorites folder.
class SyncPlanner {
 public:
  // `root` is the Favorites folder, or nullptr for one that does not exist.
  SyncPlanner(const FavoritesPlan& plan, const OpenFolder* root) : plan_(plan), root_(root) {}

  Result<SyncPlan> Plan() {
    if (root_ != nullptr) {
      auto top = ReadEntries(*root_);
      if (!top.ok()) return top.status();
      top_ = std::move(*top);
    }
    ReadManifest();
    FindVisibleFolders();
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
    const FolderEntry* entry = FindExact(top_, std::string(kManifestFileName));
    if (entry == nullptr || entry->type != EntryType::kFile) return;
    const auto text = ReadWholeFile(*root_, std::string(kManifestFileName), kLongestManifest);
    if (!text.ok()) return;  // unreadable: nothing is taken for the importer's own
    sync_.manifest_before = ParseManifest(*text, &sync_.manifest_lines_left_out);
  }

  // The folders the scan takes for categories: real folders, not hidden.
  void FindVisibleFolders() {
    for (const auto& [key, entries] : top_) {
      for (const FolderEntry& entry : entries) {
        if (entry.type == EntryType::kFolder && !root_->IsHidden(entry.name)) {
          visible_.insert(entry.name);
        }
      }
    }
  }

  // Reads the entries of the open category folder `folder` into the cache.
  Result<const EntriesByKey*> ReadCategory(const std::string& folder, const OpenFolder& open) {
    auto entries = ReadEntries(open);
    if (!entries.ok()) return entries.status();
    return &(folder_entries_[folder] = std::move(*entries));
  }

  // The entries of category folder `folder`, read once. The folder is open
  // only while it is read: a folder open for every category could take more
  // descriptors than a process has.
  Result<const EntriesByKey*> EntriesOf(const std::string& folder) {
    const auto known = folder_entries_.find(folder);
    if (known != folder_entries_.end()) return &known->second;
    const auto open = root_->OpenSubfolder(folder);
    if (!open.ok()) return open.status();
    return ReadCategory(folder, *open);
  }

  bool IsRealFolder(const std::string& name) const {
    const FolderEntry* entry = FindExact(top_, name);
    return entry != nullptr && entry->type == EntryType::kFolder;
  }

  // The folders and files of the import list that are still the importer's:
  // real folders, and files that are its shortcuts as it wrote them.
  Status FindOwned() {
    for (const std::string& folder : sync_.manifest_before.folders) {
      if (IsRealFolder(folder)) owned_folders_.insert(folder);
    }
    std::map<std::string, std::vector<std::pair<std::string, const Fingerprints*>>> listed;
    for (const auto& [path, fingerprints] : sync_.manifest_before.files) {
      auto [folder, name] = SplitChangePath(path);
      if (IsRealFolder(folder)) listed[folder].emplace_back(std::move(name), &fingerprints);
    }
    for (const auto& [folder, files] : listed) {
      const auto open = root_->OpenSubfolder(folder);
      if (!open.ok()) return open.status();
      const auto entries = ReadCategory(folder, *open);
      if (!entries.ok()) return entries.status();
      for (const auto& [name, fingerprints] : files) {
        const FolderEntry* entry = FindExact(**entries, name);
        if (entry == nullptr || entry->type != EntryType::kFile) continue;
        const auto fingerprint = OwnedShortcut(*open, name, *fingerprints);
        if (fingerprint) owned_[folder].push_back({name, *fingerprint});
      }
    }
    return Status::Ok();
  }

  // An existing folder that can hold the category: a real, visible folder
  // that the scan takes, the exact spelling first.
  const FolderEntry* UsableFolder(const std::vector<FolderEntry>& entries,
                                  const std::string& name) const {
    const FolderEntry* usable = nullptr;
    for (const FolderEntry& entry : entries) {
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
      if (const FolderEntry* usable = UsableFolder(found->second, candidate))
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
  const OpenFolder* root_;
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

}  // namespace

ChangePath SplitChangePath(const std::string& path) {
  const std::size_t slash = path.find('/');
  if (slash == std::string::npos) return {path, ""};
  return {path.substr(0, slash), path.substr(slash + 1)};
}

Result<SyncPlan> PlanSync(const FavoritesPlan& plan, const OpenFolder* favorites) {
  return SyncPlanner(plan, favorites).Plan();
}

}  // namespace qv::import
