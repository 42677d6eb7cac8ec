// What some tests need of the system beyond the program's file-system seam:
// file kinds and marks that only POSIX systems have (fifos, symbolic links,
// extended attributes, file modes, a file size limit), the Windows hidden
// and system marks, and environment variables set for one scope. One
// implementation per platform (system_files_posix.cpp, system_files_win.cpp).
#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>

namespace qv::testing {

// Why this platform lacks the POSIX-only features below; empty where it has
// them. A test that needs them skips with this reason:
//   if (const std::string why = WithoutPosixFiles(); !why.empty()) GTEST_SKIP() << why;
std::string WithoutPosixFiles();

// POSIX only; each is false where WithoutPosixFiles() gives a reason.
bool MakeFifo(const std::string& path);
bool MakeSymbolicLink(const std::string& target, const std::string& link);
bool SetExtendedAttribute(const std::string& path, const char* name, std::string_view value);
// The permission bits of the file at `path`; 0 when they cannot be read.
unsigned FileMode(const std::string& path);
bool SetFileMode(const std::string& path, unsigned mode);
// Sets the process's file creation mask and returns the one it replaces.
unsigned SetCreationMask(unsigned mask);

// Puts at `path` a file that is there but fails as soon as it is read: a
// link to the kernel's view of this process's memory. Why it cannot where it
// cannot, else "".
std::string MakeFileThatFailsWhileRead(const std::string& path);

// The system's ANSI code page (1252 for Western Europe); 0 where text files
// have no code page of their own.
unsigned AnsiCodePage();

// Marks the entry at `path` hidden or system the way this platform keeps the
// Windows marks: the attributes themselves on Windows, "user.DOSATTRIB"
// elsewhere. False when the file system cannot keep them.
bool MarkHiddenOrSystem(const std::string& path, bool hidden, bool system);

// Lowers the file size limit of the process for one scope, so that writes past
// it fail (EFBIG instead of the SIGXFSZ signal); unlike permission bits this
// stops root too. POSIX only: elsewhere it does nothing.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::uint64_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  std::uint64_t saved_ = 0;
};

// Sets the environment variable `name` of this process to `value`, or unsets
// it for none, for one scope; then it has its old value again.
class ScopedVariable {
 public:
  ScopedVariable(std::string name, const std::optional<std::string>& value);
  ~ScopedVariable();
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

// Points the folder in which the process's libraries make their temporary
// files at `folder` for one scope: TMPDIR on POSIX systems, TMP and TEMP on
// Windows.
class TemporaryFolderOverride {
 public:
  explicit TemporaryFolderOverride(const std::string& folder);

 private:
  std::list<ScopedVariable> variables_;
};

}  // namespace qv::testing
