// Files that reach their final name only whole. A new file is written under a
// temporary name in its folder and then renamed over the old one in one step,
// so that a run or a save that fails half-way, is killed or meets a full disk
// leaves the old file exactly as it was.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "generator/file_system.h"
#include "generator/open_folder.h"
#include "generator/status.h"

namespace qv {

// A file being written aside. It is created new and exclusively in a folder
// held open, never through a link or over anything that already has its
// name, and only this object writes to it. PutInPlace makes it durable and
// renames it over its final name in the same folder; a link standing there is
// replaced itself, its target never touched. A ReplacementFile that is not
// put in place removes its temporary file when it goes, so a failure leaves
// nothing behind.
class ReplacementFile : public WritableFile {
 public:
  // Creates the file in `folder` as `prefix`, a dot and six random letters or
  // digits. Failure reasons name `target`, the file this one is written for,
  // rather than the temporary name.
  static Result<std::unique_ptr<ReplacementFile>> Create(const OpenFolder& folder,
                                                         std::string_view prefix,
                                                         std::string target);
  // The same in the folder at `folder` (ending in the separator).
  static Result<std::unique_ptr<ReplacementFile>> Create(const std::string& folder,
                                                         std::string_view prefix,
                                                         std::string target);

  // For reading back what was written; the folder's path may lead elsewhere
  // by now, so nothing is ever written or removed by it.
  const std::string& temporary_path() const { return temporary_path_; }

  // Whether PutInPlace makes the file and its rename durable itself, or the
  // caller flushes a whole batch of files at once (see FileReplacements).
  enum class Flush { kEach, kByCaller };
  // Whether a file that has the final name is replaced, or kept (PutInPlace
  // then fails and changes nothing).
  enum class Existing { kReplace, kKeep };

  // Flushes the file to disk, closes it and renames it to `final_name` in its
  // folder, keeping the permission bits of a regular file it replaces. On
  // failure the file of that name is as it was.
  virtual Status PutInPlace(std::string_view final_name, Flush flush = Flush::kEach,
                            Existing existing = Existing::kReplace) = 0;

 protected:
  explicit ReplacementFile(std::string temporary_path)
      : temporary_path_(std::move(temporary_path)) {}

 private:
  std::string temporary_path_;
};

// Removes what runs that were killed left in `folder`: regular files and
// links named `prefix`, a dot and six letters or digits, the names
// ReplacementFile::Create gives, and with kAlsoThePrefix those named `prefix`
// alone. Folders, fifos and other entries of such names stay; nothing here
// ever fails a caller. Returns how many went.
enum class LeftoverNames { kTemporaryOnly, kAlsoThePrefix };
std::size_t RemoveLeftoverFiles(const OpenFolder& folder, std::string_view prefix,
                                LeftoverNames names = LeftoverNames::kTemporaryOnly);

// `prefix`, a dot and six random letters or digits: a temporary name.
std::string TemporaryFileName(std::string_view prefix);
// True when `name` is `prefix` or a temporary name made from it.
bool IsTemporaryFileName(std::string_view name, std::string_view prefix);

// Replaces the file `name` in `folder` with `contents` as one step, through a
// ReplacementFile named after it ("ins.txt.k3x9q0" for "ins.txt").
Status ReplaceFileAtomically(const OpenFolder& folder, std::string_view name,
                             std::string_view contents);
// The same for the file at `path`, in the folder that path names now.
Status ReplaceFileAtomically(const std::string& path, std::string_view contents);

// Many files replaced as ReplaceFileAtomically replaces one, at the cost of
// one flush to disk for all of them rather than one each: every file is
// written to a hidden temporary beside its place first, and Commit makes them
// all durable at once, then renames each into place. So no file is ever seen
// half-written, by a folder scan either, and after a crash each is whole, old
// or new. Temporaries not committed are removed when the object goes.
class FileReplacements {
 public:
  // The temporaries of a batch are named after this: hidden, so that a folder
  // scan running meanwhile passes over them.
  static constexpr std::string_view kTemporaryPrefix = ".vorlindo";

  // Asked right before a staged file is put in place: false leaves whatever
  // has its name now as it is, and the staged file goes.
  using StillWanted = std::function<bool()>;

  // Writes `contents` for the file `name` in `folder`; on failure nothing is
  // staged. The folder stays open until the commit.
  Status Stage(const OpenFolder& folder, std::string_view name, std::string_view contents,
               ReplacementFile::Existing existing = ReplacementFile::Existing::kReplace,
               StillWanted still_wanted = {});
  // The number of staged files not yet committed.
  std::size_t size() const { return staged_.size(); }
  // Puts every staged file in place, in the order staged, and makes the
  // renames durable; stops at the first failure.
  Status Commit();

 private:
  struct Staged {
    std::unique_ptr<ReplacementFile> file;
    std::string name;
    ReplacementFile::Existing existing;
    StillWanted still_wanted;
  };
  std::vector<Staged> staged_;
};

// Makes everything written so far durable, all files at once.
void FlushAllFiles();

}  // namespace qv
