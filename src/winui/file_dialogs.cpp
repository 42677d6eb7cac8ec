#include "winui/file_dialogs.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "generator/windows_text.h"
#include "winui/com_pointer.h"

namespace qv::winui {
namespace {

ComPointer<IFileOpenDialog> NewChooser(HWND, const std::string& title, FILEOPENDIALOGOPTIONS wish) {
  ComPointer<IFileOpenDialog> chooser;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IFileOpenDialog, reinterpret_cast<void**>(chooser.Receive())))) {
    return {};
  }
  FILEOPENDIALOGOPTIONS options = 0;
  chooser->GetOptions(&options);
  chooser->SetOptions(options | wish | FOS_FORCEFILESYSTEM);
  chooser->SetTitle(WideText(title).c_str());
  return chooser;
}

std::optional<std::string> ChosenPath(IFileOpenDialog& chooser, HWND owner) {
  if (FAILED(chooser.Show(owner))) return std::nullopt;  // cancelled, too
  ComPointer<IShellItem> item;
  if (FAILED(chooser.GetResult(item.Receive())) || !item) return std::nullopt;
  wchar_t* path = nullptr;
  if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) || path == nullptr) {
    return std::nullopt;
  }
  const std::string chosen = Utf8Text(path);
  CoTaskMemFree(path);
  return chosen;
}

std::wstring Trimmed(std::wstring_view text) {
  const std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  const std::size_t last = text.find_last_not_of(L' ');
  return std::wstring(text.substr(first, last - first + 1));
}

// "*.html *.htm" as the chooser's "*.html;*.htm".
std::wstring PatternList(std::wstring_view patterns) {
  std::wstring list;
  std::size_t start = 0;
  while (start < patterns.size()) {
    std::size_t end = patterns.find(L' ', start);
    if (end == std::wstring_view::npos) end = patterns.size();
    if (end > start) {
      if (!list.empty()) list += L';';
      list += patterns.substr(start, end - start);
    }
    start = end + 1;
  }
  return list;
}

// The shell's item for `folder`, when it is a folder that is there.
ComPointer<IShellItem> FolderItem(const std::string& folder) {
  ComPointer<IShellItem> item;
  if (folder.empty()) return item;
  const std::wstring wide = WideText(folder);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return item;
  }
  SHCreateItemFromParsingName(wide.c_str(), nullptr, IID_IShellItem,
                              reinterpret_cast<void**>(item.Receive()));
  return item;
}

// The user's profile folder ("C:\Users\name"), or none.
ComPointer<IShellItem> ProfileFolderItem() {
  ComPointer<IShellItem> item;
  SHGetKnownFolderItem(FOLDERID_Profile, KF_FLAG_DEFAULT, nullptr, IID_IShellItem,
                       reinterpret_cast<void**>(item.Receive()));
  return item;
}

// Starts the chooser in `folder` when it is there, else in the user's
// profile folder; left to itself the chooser may open in the program's own
// folder, which holds nothing of the user's.
void StartIn(IFileOpenDialog& chooser, const std::string& folder) {
  ComPointer<IShellItem> start = FolderItem(folder);
  if (!start) start = ProfileFolderItem();
  if (start) chooser.SetFolder(start.get());
}

}  // namespace

std::optional<std::string> ChooseFolderWithDialog(HWND owner, const std::string& title,
                                                  const std::string& start) {
  ComPointer<IFileOpenDialog> chooser = NewChooser(owner, title, FOS_PICKFOLDERS);
  if (!chooser) return std::nullopt;
  StartIn(*chooser.get(), start);
  return ChosenPath(*chooser.get(), owner);
}

std::optional<std::string> ChooseFileWithDialog(HWND owner, const std::string& title,
                                                const std::string& filter) {
  ComPointer<IFileOpenDialog> chooser = NewChooser(owner, title, FOS_FILEMUSTEXIST);
  if (!chooser) return std::nullopt;
  const std::vector<FileKind> kinds = FileKindsOf(filter);
  std::vector<COMDLG_FILTERSPEC> file_types;
  for (const FileKind& kind : kinds) {
    file_types.push_back({kind.name.c_str(), kind.patterns.c_str()});
  }
  if (!file_types.empty()) {
    chooser->SetFileTypes(static_cast<UINT>(file_types.size()), file_types.data());
  }
  StartIn(*chooser.get(), std::string());
  return ChosenPath(*chooser.get(), owner);
}

std::vector<FileKind> FileKindsOf(const std::string& filter) {
  const std::wstring text = WideText(filter);
  std::vector<FileKind> kinds;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(L";;", start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring_view entry = std::wstring_view(text).substr(start, end - start);
    const std::size_t open = entry.rfind(L'(');
    const std::size_t close = entry.rfind(L')');
    if (open != std::wstring_view::npos && close != std::wstring_view::npos && open < close) {
      kinds.push_back({Trimmed(entry), PatternList(entry.substr(open + 1, close - open - 1))});
    }
    start = end + 2;
  }
  return kinds;
}

}  // namespace qv::winui
