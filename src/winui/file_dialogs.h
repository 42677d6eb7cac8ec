// The system's own chooser of folders and files (IFileOpenDialog).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "generator/windows_api.h"

namespace qv::winui {

// Lets the user pick a folder, over `owner`, starting in `start` where it
// exists, else in the user's profile folder; the folder, or none when the
// user cancels or the chooser fails.
std::optional<std::string> ChooseFolderWithDialog(HWND owner, const std::string& title,
                                                  const std::string& start);

// Lets the user pick a file of one of the kinds `filter` names, starting in
// the user's profile folder; the file, or none.
std::optional<std::string> ChooseFileWithDialog(HWND owner, const std::string& title,
                                                const std::string& filter);

struct FileKind {
  std::wstring name;      // "Bookmarks (*.html *.htm)"
  std::wstring patterns;  // "*.html;*.htm"
  bool operator==(const FileKind&) const = default;
};

// The kinds of `filter`, written as "Name (pattern pattern);;Name (pattern)".
std::vector<FileKind> FileKindsOf(const std::string& filter);

}  // namespace qv::winui
