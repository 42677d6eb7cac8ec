#include "program_folder.h"

#include <filesystem>
#include <system_error>

#include "settings/program_state.h"
#include "settings/settings_file.h"
#include "synthetic_favorites.h"

namespace qv::bench {

namespace fs = std::filesystem;

std::string MakeProgramFolder(const std::string& root, int links, const std::string& data_folder) {
  const fs::path folder = fs::path(root) / ("links" + std::to_string(links));
  std::error_code error;
  fs::create_directories(folder, error);
  for (const char* name : {"koptekst.txt", "voettekst.txt", "nl.txt", "uk.txt"}) {
    fs::copy_file(fs::path(data_folder) / name, folder / name, fs::copy_options::overwrite_existing,
                  error);
    if (error) return {};
  }
  const std::string favorites = (folder / "Favorites").string();
  const std::size_t files = static_cast<std::size_t>(links);
  if (!MakeFavorites(favorites, {files, files / 12})) return {};
  ProgramState state;
  state.settings.favorites_folder = favorites;
  const std::string program_folder = folder.string() + "/";
  if (!SaveSettings(state, program_folder).ok()) return {};
  return program_folder;
}

}  // namespace qv::bench
