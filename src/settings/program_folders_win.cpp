#include "generator/windows_api.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <string>

#include "generator/file_system.h"
#include "generator/windows_text.h"
#include "settings/program_folders.h"

namespace qv {

// The user's roaming application data, where Windows programs keep what the
// user made with them; it follows the user to other machines of a domain.
Result<std::string> UsersProgramFolder() {
  PWSTR path = nullptr;
  const HRESULT result = SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &path);
  std::string folder;
  if (SUCCEEDED(result) && path != nullptr) folder = Utf8Text(std::wstring_view(path));
  CoTaskMemFree(path);
  if (folder.empty()) {
    return Status::Error(
        "no folder for the user's files: Windows names no application data folder");
  }
  return WithTrailingSeparator(folder) + "Qelmora Vorlindo\\";
}

}  // namespace qv
