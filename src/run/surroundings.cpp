#include "run/surroundings.h"

#include <ctime>

#include "settings/program_folders.h"

namespace qv {

SystemSurroundings::SystemSurroundings()
    : favorites_(SystemFavoritesLookup()), folders_(SystemProgramFolders()) {}

SystemSurroundings::~SystemSurroundings() = default;

ProgramFolders SystemSurroundings::Folders() {
  return CurrentProgramFolders(folders_);
}

FavoritesLookup& SystemSurroundings::Favorites() {
  return *favorites_;
}

CalendarDate SystemSurroundings::Today() {
  // Runs happen on one thread only, so the shared result of localtime is safe.
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) return CalendarDate{};
  return CalendarDate{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
}

}  // namespace qv
