#include <cstdlib>
#include <string>

#include "import/import_target.h"

namespace qv::import {

// The user's profile folder, where Windows keeps the Favorites folder too.
std::string HomeFolder() {
  const char* profile = std::getenv("USERPROFILE");
  return profile != nullptr ? profile : "";
}

}  // namespace qv::import
