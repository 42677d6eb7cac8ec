#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "import/import_target.h"

namespace qv::import {

// $HOME, else the home folder of the user's account.
std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* account = getpwuid(getuid());
      account != nullptr && account->pw_dir != nullptr) {
    return account->pw_dir;
  }
  return "";
}

}  // namespace qv::import
