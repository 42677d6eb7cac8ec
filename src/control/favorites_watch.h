// What tells the program that the folders its page is built from changed on
// disk while it runs.
#pragma once

#include "run/page_watch.h"

namespace qv {

class FavoritesWatch {
 public:
  virtual ~FavoritesWatch() = default;
  // From now on the program hears (ProgramController::FavoritesChanged, on
  // its own thread) of every settled burst of changes that matter to
  // `sources`.
  virtual void Follow(const PageSources& sources) = 0;
};

}  // namespace qv
