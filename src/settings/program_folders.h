// Where the program's own files are. Two ways to live, told apart by where
// the templates lie, not by permissions:
// - beside the executable (a build folder, an unpacked zip): every file, the
//   ones the program writes and the ones it comes with, in the executable's
//   folder, as ever;
// - installed (the templates are not beside the executable but in
//   "<executable's folder>/../share/vorlindo/"): that data folder is only
//   read, and the user's own folder holds the settings file, the page,
//   "option.txt", and any template or language file the user puts there,
//   which then wins over the installed one of its name.
#pragma once

#include <string>
#include <string_view>

#include "generator/status.h"

namespace qv {

struct ProgramFolders {
  // The folder the program writes in and reads the settings file from,
  // ending in the separator. Empty when installed and no folder of the
  // user's is known; `unknown_reason` says why then.
  std::string own;
  // The installation's data folder, ending in the separator; empty beside
  // the executable.
  std::string installed;
  std::string unknown_reason;

  bool operator==(const ProgramFolders&) const = default;
};

// The folders of a program that lives beside its executable in `folder`.
ProgramFolders BesideTheExecutable(const std::string& folder);

// The folder that holds the template or language file `name` for a run: the
// own folder when the file is there or the program lives beside its
// executable, else the installation's data folder.
std::string FolderOfSideFile(const ProgramFolders& folders, const std::string& name);
// FolderOfSideFile followed by `name`.
std::string SideFilePath(const ProgramFolders& folders, const std::string& name);

// Makes the own folder, and the folders above it, when they are missing and
// the program is installed; ok when there is nothing to make. Beside the
// executable nothing is ever made: a program folder that is gone stays gone.
Status MakeOwnFolder(const ProgramFolders& folders);

// The decision, from the executable's folder and the user's own folder for
// an installed program (or why there is none): installed when the header
// template is not beside the executable but in the installation's data
// folder; beside the executable otherwise, also when neither holds it.
ProgramFolders DecideProgramFolders(const std::string& executable_folder,
                                    const Result<std::string>& users_folder);

// The base folder an XDG variable names: its value when that is a full
// path; otherwise, as the XDG base directory rules say to ignore a relative
// one, `fallback` (such as ".local/share") inside `home`, when `home` is a
// full path. Ending in the separator.
Result<std::string> XdgBaseFolder(const char* variable, const char* value, const std::string& home,
                                  std::string_view fallback);

// The user's own folder of an installed program, ending in the separator.
// One implementation per platform: "$XDG_DATA_HOME/vorlindo/" on POSIX
// systems (program_folders_posix.cpp), "%APPDATA%\Qelmora Vorlindo\" on
// Windows (program_folders_win.cpp).
Result<std::string> UsersProgramFolder();

// The machine's own: DecideProgramFolders for the running executable.
ProgramFolders SystemProgramFolders();

// The folders now of a program whose folders at its start were `at_start`:
// beside the executable the folder follows the executable, renamed or not,
// as it always has; installed they stay as they were, so that a program
// removed or upgraded under a running one never makes it take the
// installation for a folder of its own.
ProgramFolders CurrentProgramFolders(const ProgramFolders& at_start);

}  // namespace qv
