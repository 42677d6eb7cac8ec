#include "import/browser_profiles.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string_view>
#include <utility>

#include "generator/file_system.h"
#include "generator/text.h"
#include "generator/text_file.h"
#include "import/browser_locations.h"
#include "import/source_file.h"

namespace qv::import {
namespace {

// profiles.ini holds a few sections of a few keys; more is not a real one.
constexpr std::size_t kMaxIniLines = 10'000;
// A profiles.ini line holds a key and a folder path; anything longer is no
// line of one.
constexpr std::size_t kLongestIniLine = 64 * 1024;
// "Local State" holds the profiles' names among the browser's settings.
constexpr std::size_t kMaxLocalStateBytes = std::size_t{16} << 20;

std::string WithNativeSeparators(std::string path) {
  std::replace(path.begin(), path.end(), '/', kPathSeparator);
  return path;
}

// One [section] of an INI file with its key=value lines.
struct IniSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> values;

  std::string Get(std::string_view key) const {
    for (const auto& [name, value] : values) {
      if (name == key) return value;
    }
    return {};
  }
};

std::vector<IniSection> ReadIni(const std::string& path) {
  std::vector<IniSection> sections;
  std::vector<std::string> lines = ReadLines(path, kMaxIniLines, kLongestIniLine);
  if (!lines.empty()) lines.front() = std::string(WithoutByteOrderMark(lines.front()));
  for (const std::string& raw : lines) {
    const std::string_view line = TrimBlanks(raw);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      sections.push_back({std::string(line.substr(1, line.size() - 2)), {}});
    } else if (const std::size_t equals = line.find('=');
               equals != std::string_view::npos && !sections.empty()) {
      sections.back().values.emplace_back(std::string(TrimBlanks(line.substr(0, equals))),
                                          std::string(TrimBlanks(line.substr(equals + 1))));
    }
  }
  return sections;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Puts the default profile first, keeping the order of the others.
void DefaultFirst(std::vector<BrowserProfile>& profiles) {
  std::stable_partition(profiles.begin(), profiles.end(),
                        [](const BrowserProfile& profile) { return profile.is_default; });
}

// The profiles listed in profiles.ini whose folder holds places.sqlite.
std::vector<BrowserProfile> FirefoxProfiles(const std::string& browser,
                                            const std::string& data_folder) {
  const std::vector<IniSection> sections = ReadIni(JoinPath(data_folder, "profiles.ini"));
  // Since version 67 each installation names its own default profile.
  std::string install_default;
  for (const IniSection& section : sections) {
    if (StartsWith(section.name, "Install") && install_default.empty()) {
      install_default = section.Get("Default");
    }
  }
  std::vector<BrowserProfile> profiles;
  for (const IniSection& section : sections) {
    const std::string path = section.Get("Path");
    if (!StartsWith(section.name, "Profile") || path.empty()) continue;
    const std::string folder =
        section.Get("IsRelative") == "1" ? JoinPath(data_folder, path) : WithNativeSeparators(path);
    if (!VisibleFileExists(WithTrailingSeparator(folder), "places.sqlite")) continue;
    const bool is_default =
        install_default.empty() ? section.Get("Default") == "1" : path == install_default;
    const std::string name = section.Get("Name");
    profiles.push_back(
        {browser, name.empty() ? path : name, JoinPath(folder, "places.sqlite"), is_default});
  }
  DefaultFirst(profiles);
  if (!profiles.empty()) profiles.front().is_default = true;
  return profiles;
}

// What "Local State" says of the profiles: the last used one, and the names
// they show under, by folder.
struct ChromiumLocalState {
  std::string last_used;
  std::vector<std::pair<std::string, std::string>> names;
};

const nlohmann::json* Member(const nlohmann::json& object, const char* key) {
  if (!object.is_object()) return nullptr;
  const auto found = object.find(key);
  return found == object.end() ? nullptr : &*found;
}

ChromiumLocalState ReadLocalState(const std::string& user_data_folder) {
  ChromiumLocalState state;
  const Result<std::string> text =
      ReadWholeFile(JoinPath(user_data_folder, "Local State"), kMaxLocalStateBytes);
  if (!text.ok()) return state;
  const nlohmann::json json = nlohmann::json::parse(*text, nullptr, /*allow_exceptions=*/false);
  const nlohmann::json* profile = Member(json, "profile");
  if (profile == nullptr) return state;
  if (const nlohmann::json* last_used = Member(*profile, "last_used");
      last_used != nullptr && last_used->is_string()) {
    state.last_used = last_used->get<std::string>();
  }
  const nlohmann::json* info_cache = Member(*profile, "info_cache");
  if (info_cache == nullptr || !info_cache->is_object()) return state;
  for (const auto& [folder, info] : info_cache->items()) {
    const nlohmann::json* name = Member(info, "name");
    if (name != nullptr && name->is_string()) {
      state.names.emplace_back(folder, name->get<std::string>());
    }
  }
  return state;
}

// The profile folders of a Chromium user data folder that hold a Bookmarks file.
std::vector<BrowserProfile> ChromiumProfiles(const std::string& browser,
                                             const std::string& user_data_folder) {
  std::vector<BrowserProfile> profiles;
  std::vector<std::string> folders;
  for (const std::string& folder : ListFolder(user_data_folder, EntryKind::kFolder)) {
    if (VisibleFileExists(WithTrailingSeparator(JoinPath(user_data_folder, folder)), "Bookmarks")) {
      folders.push_back(folder);
    }
  }
  if (folders.empty()) return profiles;
  const ChromiumLocalState state = ReadLocalState(user_data_folder);
  const auto has = [&](const std::string& name) {
    return std::find(folders.begin(), folders.end(), name) != folders.end();
  };
  const std::string default_folder = has(state.last_used) ? state.last_used
                                     : has("Default")     ? "Default"
                                                          : folders.front();
  for (const std::string& folder : folders) {
    std::string name = folder;
    for (const auto& [named_folder, shown] : state.names) {
      if (named_folder == folder && !shown.empty()) name = shown;
    }
    profiles.push_back({browser, name, JoinPath(JoinPath(user_data_folder, folder), "Bookmarks"),
                        folder == default_folder});
  }
  DefaultFirst(profiles);
  return profiles;
}

}  // namespace

std::string JoinPath(const std::string& base, const std::string& relative) {
  return WithTrailingSeparator(base) + WithNativeSeparators(relative);
}

std::vector<BrowserProfile> FindBrowserProfiles(const SystemPaths& paths) {
  std::vector<BrowserProfile> found;
  for (const BrowserDataFolder& data : BrowserDataFolders(paths)) {
    const std::vector<BrowserProfile> profiles = data.family == BrowserFamily::kFirefox
                                                     ? FirefoxProfiles(data.browser, data.folder)
                                                     : ChromiumProfiles(data.browser, data.folder);
    found.insert(found.end(), profiles.begin(), profiles.end());
  }
  return found;
}

}  // namespace qv::import
