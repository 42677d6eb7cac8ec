// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qv::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, ending in the path separator.
  const std::string& path() const { return path_; }
  // path() followed by `relative`, whose "/" become the platform's separator.
  std::string Path(std::string_view relative) const;

  // Creates the folder `relative` (and its parents).
  void MakeFolder(std::string_view relative) const;
  // Writes `bytes` to the file `relative`, creating its folders.
  void WriteFile(std::string_view relative, std::string_view bytes) const;
  // The bytes of the file `relative`; empty when it cannot be read.
  std::string ReadFile(std::string_view relative) const;
  bool Exists(std::string_view relative) const;
  // The names of the entries directly inside the folder, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string path_;
};

// `path` with its "/" turned into the platform's separator.
std::string WithPlatformSeparators(std::string_view path);

// Every entry below `folder`, by its path relative to it with "/" between
// names, with what it holds: "/" for a folder, "-> " and its target for a
// symbolic link, which is not followed. Any entry added, changed or removed
// shows in it, hidden ones too.
std::map<std::string, std::string> TreeOf(const std::string& folder);

// Joins `lines` with CR LF after each, the way the program writes text files.
std::string CrLfLines(const std::vector<std::string>& lines);

}  // namespace qv::testing
