// The surroundings of a benchmark run: a program folder of its own, a
// Favorites lookup that knows no folder (the settings name it) and a fixed
// date.
#pragma once

#include <string>

#include "run/surroundings.h"

namespace qv::bench {

class NoFavorites : public FavoritesLookup {
 public:
  Result<std::string> FavoritesFolder() override;
};

class BenchSurroundings : public RunSurroundings {
 public:
  explicit BenchSurroundings(std::string program_folder);
  ProgramFolders Folders() override;
  FavoritesLookup& Favorites() override;
  CalendarDate Today() override;

 private:
  std::string program_folder_;
  NoFavorites favorites_;
};

}  // namespace qv::bench
