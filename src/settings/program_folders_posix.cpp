#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "settings/program_folders.h"

namespace qv {
namespace {

// $HOME, or the home folder of the user's account when it is not set (as
// for a service started without it).
std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr) {
    return {};
  }
  return found->pw_dir;
}

}  // namespace

// One folder in the data home holds everything: the settings file is mostly
// the page's own content (its texts, colours and title size), the templates
// and language files are the page's material beside the installed ones in
// "share/vorlindo", and the page is what all of them make. Kept together,
// one lock and one watch cover whatever a run reads and writes, and the user
// finds, copies or backs up the page with what it is made of.
Result<std::string> UsersProgramFolder() {
  Result<std::string> base =
      XdgBaseFolder("XDG_DATA_HOME", std::getenv("XDG_DATA_HOME"), HomeFolder(), ".local/share");
  if (!base.ok()) return base;
  return *base + "vorlindo/";
}

}  // namespace qv
