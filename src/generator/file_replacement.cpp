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

// The temporaries of a batch begin with a dot, so that a folder scan running
// meanwhile passes over them.
constexpr std::string_view kBatchTemporaryPrefix = ".vorlindo";

// The longest file name common file systems take, in bytes.
constexpr std::size_t kLongestName = 255;

}  // namespace

Status ReplaceFileAtomically(const std::string& path, std::string_view contents) {
  const std::string folder = FolderOf(path);
  const std::string name = path.substr(folder.size());
  // A temporary named after a name near the longest would be too long.
  const bool short_name = name.size() + kTemporarySuffixLength + 1 <= kLongestName;
  Result<std::unique_ptr<ReplacementFile>> file =
      ReplacementFile::Create(folder, short_name ? name : std::string(kBatchTemporaryPrefix), path);
  if (!file.ok()) return file.status();
  Status status = (*file)->Append(contents);
  if (status.ok()) status = (*file)->PutInPlace(path);
  return status;
}

Status FileReplacements::Stage(const std::string& path, std::string_view contents) {
  Result<std::unique_ptr<ReplacementFile>> file =
      ReplacementFile::Create(FolderOf(path), kBatchTemporaryPrefix, path);
  if (!file.ok()) return file.status();
  Status status = (*file)->Append(contents);
  // Closed now: a batch of thousands of files must not hold thousands open.
  if (status.ok()) status = (*file)->Close();
  if (status.ok()) staged_.push_back({std::move(*file), path});
  return status;
}

Status FileReplacements::Commit() {
  FlushAllFiles();
  Status status = Status::Ok();
  std::size_t done = 0;
  while (done < staged_.size() && status.ok()) {
    status = staged_[done].file->PutInPlace(staged_[done].path, ReplacementFile::Flush::kByCaller);
    if (status.ok()) ++done;
  }
  staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(done));
  FlushAllFiles();
  return status;
}

}  // namespace qv
