#include "generator/file_replacement.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>

namespace qv {
namespace {

constexpr std::string_view kTemporaryLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kTemporarySuffixLength = 6;

}  // namespace

std::string TemporaryFileName(std::string_view prefix) {
  // Unique enough that a clash is rare; creation is exclusive and retries on
  // a clash, so uniqueness is never relied on.
  static std::atomic<unsigned long long> counter{0};
  static const unsigned long long seed =
      std::random_device()() ^
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::mt19937_64 random(seed + counter.fetch_add(1) * 0x9E3779B97F4A7C15ULL);
  std::string name = std::string(prefix) + ".";
  for (std::size_t i = 0; i < kTemporarySuffixLength; ++i) {
    name += kTemporaryLetters[random() % kTemporaryLetters.size()];
  }
  return name;
}

bool IsTemporaryFileName(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix)) return false;
  name.remove_prefix(prefix.size());
  if (name.empty()) return true;
  if (name.size() != kTemporarySuffixLength + 1 || name.front() != '.') return false;
  return std::all_of(name.begin() + 1, name.end(),
                     [](char c) { return kTemporaryLetters.find(c) != std::string_view::npos; });
}

namespace {

// The folder part of `path`, ending in its separator, or "" for a bare name.
std::string FolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of(kPathSeparator);
  if (kPathSeparator == '\\') slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// The longest file name common file systems take, in bytes.
constexpr std::size_t kLongestName = 255;

// The folder at `folder` ("" for the current one), opened to write `target`
// into; a failure names the target.
Result<OpenFolder> OpenFolderFor(const std::string& folder, const std::string& target) {
  Result<OpenFolder> open = OpenFolder::Open(folder.empty() ? std::string(".") : folder);
  if (!open.ok()) return Status::Error("cannot write " + target + ": " + open.status().reason());
  return open;
}

}  // namespace

std::size_t RemoveLeftoverFiles(const OpenFolder& folder, std::string_view prefix,
                                LeftoverNames names) {
  const Result<std::vector<FolderEntry>> entries = folder.Entries();
  if (!entries.ok()) return 0;
  std::size_t removed = 0;
  for (const FolderEntry& entry : *entries) {
    const bool file_or_link =
        entry.type == FolderEntry::Type::kFile || entry.type == FolderEntry::Type::kLink;
    const bool bare_prefix_counts = names == LeftoverNames::kAlsoThePrefix;
    const bool temporary = IsTemporaryFileName(entry.name, prefix) &&
                           (bare_prefix_counts || entry.name.size() > prefix.size());
    if (file_or_link && temporary && folder.RemoveFile(entry.name).ok()) {
      ++removed;
    }
  }
  return removed;
}

Result<std::unique_ptr<ReplacementFile>> ReplacementFile::Create(const std::string& folder,
                                                                 std::string_view prefix,
                                                                 std::string target) {
  const Result<OpenFolder> open = OpenFolderFor(folder, target);
  if (!open.ok()) return open.status();
  return Create(*open, prefix, std::move(target));
}

Status ReplaceFileAtomically(const OpenFolder& folder, std::string_view name,
                             std::string_view contents) {
  // A temporary named after a name near the longest would be too long.
  const bool short_name = name.size() + kTemporarySuffixLength + 1 <= kLongestName;
  Result<std::unique_ptr<ReplacementFile>> file =
      ReplacementFile::Create(folder, short_name ? name : FileReplacements::kTemporaryPrefix,
                              folder.path() + std::string(name));
  if (!file.ok()) return file.status();
  Status status = (*file)->Append(contents);
  if (status.ok()) status = (*file)->PutInPlace(name);
  return status;
}

Status ReplaceFileAtomically(const std::string& path, std::string_view contents) {
  const std::string folder = FolderOf(path);
  const Result<OpenFolder> open = OpenFolderFor(folder, path);
  if (!open.ok()) return open.status();
  return ReplaceFileAtomically(*open, std::string_view(path).substr(folder.size()), contents);
}

Status FileReplacements::Stage(const OpenFolder& folder, std::string_view name,
                               std::string_view contents, ReplacementFile::Existing existing,
                               StillWanted still_wanted) {
  Result<std::unique_ptr<ReplacementFile>> file =
      ReplacementFile::Create(folder, kTemporaryPrefix, folder.path() + std::string(name));
  if (!file.ok()) return file.status();
  Status status = (*file)->Append(contents);
  // Closed now: a batch of thousands of files must not hold thousands open.
  if (status.ok()) status = (*file)->Close();
  if (status.ok()) {
    staged_.push_back({std::move(*file), std::string(name), existing, std::move(still_wanted)});
  }
  return status;
}

Status FileReplacements::Commit() {
  FlushAllFiles();
  Status status = Status::Ok();
  std::size_t done = 0;
  while (done < staged_.size() && status.ok()) {
    Staged& staged = staged_[done];
    if (!staged.still_wanted || staged.still_wanted()) {
      status =
          staged.file->PutInPlace(staged.name, ReplacementFile::Flush::kByCaller, staged.existing);
    }
    if (status.ok()) ++done;
  }
  staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(done));
  FlushAllFiles();
  return status;
}

}  // namespace qv
