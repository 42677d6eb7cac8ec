#include "bench_surroundings.h"

#include <utility>

#include "generator/file_system.h"

namespace qv::bench {

Result<std::string> NoFavorites::FavoritesFolder() {
  return Status::Error("the benchmark names its Favorites folder in the settings");
}

BenchSurroundings::BenchSurroundings(std::string program_folder)
    : program_folder_(WithTrailingSeparator(std::move(program_folder))) {}

ProgramFolders BenchSurroundings::Folders() {
  return BesideTheExecutable(program_folder_);
}

FavoritesLookup& BenchSurroundings::Favorites() {
  return favorites_;
}

CalendarDate BenchSurroundings::Today() {
  return CalendarDate{2026, 12, 5};
}

}  // namespace qv::bench
