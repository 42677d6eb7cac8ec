#include "import/places_snapshot.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <system_error>
#include <thread>

#include "generator/file_system.h"
#include "generator/text_encoding.h"
#include "import/source_file.h"

namespace qv::import {
namespace {

namespace fs = std::filesystem;

// SQLite keeps the log and the journal beside the file a link leads to.
std::string SideFileStem(const std::string& path) {
  std::error_code error;
  const fs::path native = NativePath(path);
  if (!fs::is_symlink(native, error)) return path;
  const fs::path target = fs::canonical(native, error);
  return error ? path : PathText(target);
}

bool Exists(const std::string& path, std::error_code& error) {
  return fs::exists(NativePath(path), error);
}

Result<SideFile> ReadSideFile(const std::string& path) {
  std::error_code error;
  if (!Exists(path, error)) return SideFile{};
  Result<std::string> bytes = ReadWholeFile(path, kMaxSnapshotFileBytes);
  if (bytes.ok()) return SideFile{true, std::move(*bytes)};
  // Gone meanwhile: the browser was done with it, which is a moment as good.
  if (!Exists(path, error) && !error) return SideFile{};
  return bytes.status();
}

// Reads the database, then the files beside it.
Result<PlacesSnapshot> ReadOnce(const std::string& path, const std::string& side_stem) {
  Result<std::string> database = ReadWholeFile(path, kMaxSnapshotFileBytes);
  if (!database.ok()) return database.status();
  Result<SideFile> wal = ReadSideFile(side_stem + std::string(kWalSuffix));
  if (!wal.ok()) return wal.status();
  Result<SideFile> journal = ReadSideFile(side_stem + std::string(kJournalSuffix));
  if (!journal.ok()) return journal.status();
  return PlacesSnapshot{std::move(*database), std::move(*wal), std::move(*journal)};
}

// True when the file at `path` still holds `bytes`: exactly, or followed by
// more when `growth_allowed`. A file that cannot be read counts as changed.
bool StillHolds(const std::string& path, std::string_view bytes, bool growth_allowed) {
  const Result<std::unique_ptr<ReadableFile>> opened = ReadableFile::Open(path);
  if (!opened.ok()) return false;
  ReadableFile& file = **opened;
  std::string chunk(std::size_t{1} << 16, '\0');
  std::size_t compared = 0;
  for (;;) {
    const std::size_t left = bytes.size() - compared;
    if (growth_allowed && left == 0) return true;
    const std::size_t count =
        file.Read(chunk.data(), growth_allowed ? std::min(chunk.size(), left) : chunk.size());
    if (count == 0) return left == 0 && file.read_status().ok();
    if (count > left || bytes.substr(compared, count) != std::string_view(chunk.data(), count)) {
      return false;
    }
    compared += count;
  }
}

// True when the snapshot is one moment of the browser's files: read again,
// the database is as it was, and the log and the journal still begin with
// what was read of them (the browser may have added to them since).
//
// The browser writes into the database file only to copy committed changes
// out of the log (a checkpoint) or, without a log, to write a change whose
// old pages the journal holds already; it starts the log anew, or cuts it
// short, only once all of it is copied. So with the database unchanged from
// its first read to its second, and no byte read of the log or the journal
// overwritten or cut off by then, the copies belong together: what the
// browser appended meanwhile is just not in the snapshot yet, and SQLite
// drops a change whose end it does not find.
bool StillSteady(const std::string& path, const std::string& side_stem,
                 const PlacesSnapshot& snapshot) {
  if (!StillHolds(path, snapshot.database, false)) return false;
  const auto side_holds = [&](const SideFile& side, std::string_view suffix) {
    return !side.present || StillHolds(side_stem + std::string(suffix), side.bytes, true);
  };
  return side_holds(snapshot.wal, kWalSuffix) && side_holds(snapshot.journal, kJournalSuffix);
}

// A browser saves in short bursts; a few pauses of growing length see one out.
constexpr int kSnapshotTries = 10;
constexpr std::chrono::milliseconds kSnapshotPause{20};

}  // namespace

Result<PlacesSnapshot> ReadSnapshot(const std::string& path) {
  const std::string side_stem = SideFileStem(path);
  for (int tries = 1;; ++tries) {
    Result<PlacesSnapshot> snapshot = ReadOnce(path, side_stem);
    if (!snapshot.ok() || StillSteady(path, side_stem, *snapshot)) return snapshot;
    if (tries == kSnapshotTries) {
      return Status::Error(path + " changed each of the " + std::to_string(kSnapshotTries) +
                           " times it was read; the browser is saving: try again in a moment");
    }
    std::this_thread::sleep_for(kSnapshotPause * tries);
  }
}

}  // namespace qv::import
