#include "settings/program_folders.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "generator/file_system.h"
#include "generator/side_files.h"
#include "generator/text_encoding.h"
#include "settings/app_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// "<executable's folder>/../share/vorlindo/", the same on every platform.
std::string InstalledDataFolder(const std::string& executable_folder) {
  const fs::path executable = NativePath(executable_folder).parent_path();  // the separator cut
  return WithTrailingSeparator(PathText(executable.parent_path() / "share" / "vorlindo"));
}

}  // namespace

ProgramFolders BesideTheExecutable(const std::string& folder) {
  return {folder, {}, {}};
}

std::string FolderOfSideFile(const ProgramFolders& folders, const std::string& name) {
  if (folders.installed.empty()) return folders.own;
  // An empty own folder would look in the current folder.
  if (!folders.own.empty() && VisibleFileExists(folders.own, name)) return folders.own;
  return folders.installed;
}

std::string SideFilePath(const ProgramFolders& folders, const std::string& name) {
  return FolderOfSideFile(folders, name) + name;
}

Status MakeOwnFolder(const ProgramFolders& folders) {
  if (folders.installed.empty()) return Status::Ok();
  if (folders.own.empty()) return Status::Error(folders.unknown_reason);
  // The folders to make, innermost first.
  std::vector<fs::path> missing;
  std::error_code error;
  for (fs::path folder = NativePath(folders.own).parent_path();
       !folder.empty() && !fs::exists(fs::symlink_status(folder, error));
       folder = folder.parent_path()) {
    missing.push_back(folder);
    if (folder == folder.parent_path()) break;
  }
  for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder) {
    // Private, as the user's settings and page are: made for the owner alone.
    if (!fs::create_directory(*folder, error) && error) {
      return Status::Error("cannot make the folder " + PathText(*folder) + ": " + error.message());
    }
    fs::permissions(*folder, fs::perms::owner_all, error);
  }
  return Status::Ok();
}

ProgramFolders DecideProgramFolders(const std::string& executable_folder,
                                    const Result<std::string>& users_folder) {
  const std::string installed = InstalledDataFolder(executable_folder);
  if (VisibleFileExists(executable_folder, kHeaderTemplateName) ||
      !VisibleFileExists(installed, kHeaderTemplateName)) {
    return BesideTheExecutable(executable_folder);
  }
  // Never the installation itself, whoever runs the program: without a
  // folder of the user's every write fails and says why.
  if (!users_folder.ok()) return {{}, installed, users_folder.status().reason()};
  return {*users_folder, installed, {}};
}

Result<std::string> XdgBaseFolder(const char* variable, const char* value, const std::string& home,
                                  std::string_view fallback) {
  if (value != nullptr && NativePath(value).is_absolute()) return WithTrailingSeparator(value);
  if (!home.empty() && NativePath(home).is_absolute()) {
    return WithTrailingSeparator(WithTrailingSeparator(home) + std::string(fallback));
  }
  return Status::Error(std::string("no folder for the user's files: neither ") + variable +
                       " nor the home folder is a full path");
}

ProgramFolders SystemProgramFolders() {
  return DecideProgramFolders(AppFolder(), UsersProgramFolder());
}

ProgramFolders CurrentProgramFolders(const ProgramFolders& at_start) {
  return at_start.installed.empty() ? BesideTheExecutable(AppFolder()) : at_start;
}

}  // namespace qv
