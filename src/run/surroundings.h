// What a generation run needs from outside: the program folder, the Favorites
// folder lookup and today's date. The programs pass the machine's own;
// tests pass their own.
#pragma once

#include <memory>
#include <string>

#include "generator/types.h"
#include "settings/favorites_lookup.h"

namespace qv {

class RunSurroundings {
 public:
  virtual ~RunSurroundings() = default;
  // The program folder, ending in exactly one separator.
  virtual std::string AppFolder() = 0;
  virtual FavoritesLookup& Favorites() = 0;
  virtual CalendarDate Today() = 0;
};

// The machine's own surroundings: the executable's folder, the user's
// registry and the local date.
class SystemSurroundings : public RunSurroundings {
 public:
  SystemSurroundings();
  ~SystemSurroundings() override;
  std::string AppFolder() override;
  FavoritesLookup& Favorites() override;
  CalendarDate Today() override;

 private:
  std::unique_ptr<FavoritesLookup> favorites_;
};

}  // namespace qv
