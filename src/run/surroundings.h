// What a generation run needs from outside: the program's folders, the
// Favorites folder lookup and today's date. The programs pass the machine's own;
// tests pass their own.
#pragma once

#include <memory>
#include <string>

#include "generator/types.h"
#include "settings/favorites_lookup.h"
#include "settings/program_folders.h"

namespace qv {

class RunSurroundings {
 public:
  virtual ~RunSurroundings() = default;
  // The folder the program writes in, and where its templates and language
  // files are (program_folders.h).
  virtual ProgramFolders Folders() = 0;
  virtual FavoritesLookup& Favorites() = 0;
  virtual CalendarDate Today() = 0;
};

// The machine's own surroundings: the executable's folder or, installed, the
// user's own folder and the installation's, the user's registry and the
// local date. Where the program lives is decided once, when made
// (CurrentProgramFolders).
class SystemSurroundings : public RunSurroundings {
 public:
  SystemSurroundings();
  ~SystemSurroundings() override;
  ProgramFolders Folders() override;
  FavoritesLookup& Favorites() override;
  CalendarDate Today() override;

 private:
  std::unique_ptr<FavoritesLookup> favorites_;
  ProgramFolders folders_;
};

}  // namespace qv
