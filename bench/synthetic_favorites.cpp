#include "synthetic_favorites.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace qv::bench {
namespace {

constexpr std::array<const char*, 12> kTopics = {"News",    "Weather",  "Sport",  "Shopping",
                                                 "Travel",  "Music",    "Films",  "Cooking",
                                                 "Science", "Software", "Garden", "Books"};

constexpr std::array<const char*, 8> kSiteWords = {
    "Daily Herald",    "City Library",
    "Open Street Map", "Price Watch",
    "Photo Gallery",   "Community Forum",
    "Weekend Recipes", "A rather long site name that the caption cut shortens"};

// Every eighth folder is pinned to a column the way users name them.
std::string FolderName(std::size_t index) {
  char name[64];
  const char* topic = kTopics[index % kTopics.size()];
  if (index % 8 == 0) {
    std::snprintf(name, sizeof name, "(%c%02zu) %s %04zu", "ABC"[index / 8 % 3], index % 100, topic,
                  index);
  } else {
    std::snprintf(name, sizeof name, "%s %04zu", topic, index);
  }
  return name;
}

std::string FileName(std::size_t index) {
  return std::string(kSiteWords[index % kSiteWords.size()]) + " " + std::to_string(index) + ".url";
}

// A shortcut as Internet Explorer writes one: a property section, then the
// address among a few other values.
std::string ShortcutText(std::size_t index) {
  const std::string site = "https://www.site" + std::to_string(index) + ".example";
  return "[{000214A0-0000-0000-C000-000000000046}]\r\n"
         "Prop3=19,11\r\n"
         "[InternetShortcut]\r\n"
         "IDList=\r\n"
         "URL=" +
         site + "/section/page-" + std::to_string(index % 977) +
         ".html\r\n"
         "IconFile=" +
         site +
         "/favicon.ico\r\n"
         "IconIndex=1\r\n";
}

bool WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  return static_cast<bool>(file);
}

}  // namespace

bool MakeFavorites(const std::string& root, const FavoritesShape& shape) {
  std::error_code error;
  if (!std::filesystem::create_directories(root, error)) return false;
  std::size_t file = 0;
  for (std::size_t folder = 0; folder < shape.folders; ++folder) {
    const std::filesystem::path dir = std::filesystem::path(root) / FolderName(folder);
    if (!std::filesystem::create_directory(dir, error)) return false;
    // Spread the remainder over the first folders so every file is placed.
    const std::size_t count =
        shape.files / shape.folders + (folder < shape.files % shape.folders ? 1 : 0);
    for (std::size_t i = 0; i < count; ++i, ++file) {
      if (!WriteFile(dir / FileName(file), ShortcutText(file))) return false;
    }
  }
  return true;
}

bool EvictFileContents(const std::string& root) {
  std::error_code error;
  bool ok = true;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
    if (!entry.is_regular_file(error)) continue;
    const int fd = open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      ok = false;
      continue;
    }
    posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    close(fd);
  }
  return ok && !error;
}

}  // namespace qv::bench
