// Whole generation runs in a scratch program folder whose files and
// Favorites folder come from the input. The input is a list of files, each
// introduced by a line "--- NAME":
//   --- ins.txt                a file in the program folder (settings,
//   <its bytes>                templates, language files, a stale page ...)
//   --- (A01) News/Daily.url   a file in a category of the Favorites folder
//   --- Empty/                 an empty category
// A run must end, never touch the Favorites folder or the settings file, and
// leave the program folder with what it held plus the page and "option.txt".
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "generator/file_system.h"
#include "generator/side_files.h"
#include "run/start_page.h"
#include "settings/program_state.h"
#include "settings/settings_file.h"
#include "support/fake_surroundings.h"
#include "support/scratch.h"

namespace qv::fuzz {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMarker = "--- ";
// Enough files for several categories; more only slow the run down.
constexpr std::size_t kMostFiles = 48;
// The settings file's line that names the Favorites folder.
constexpr int kFavoritesLine = 8;

struct InputFile {
  std::string category;  // empty: a file of the program folder
  std::string name;      // empty: the category alone
  std::string bytes;
};

// A name the scratch folders can hold without it reaching outside them.
bool IsUsableName(std::string_view name) {
  return name.size() <= 255 && IsPlainFileName(name);
}

std::vector<InputFile> SplitIntoFiles(std::string_view input) {
  std::vector<InputFile> files;
  std::size_t pos = input.starts_with(kMarker) ? 0 : input.find(std::string("\n") += kMarker);
  while (pos != std::string_view::npos && files.size() < kMostFiles) {
    if (input[pos] == '\n') ++pos;
    const std::size_t name_end = std::min(input.find('\n', pos), input.size());
    const std::string_view header =
        input.substr(pos + kMarker.size(), name_end - pos - kMarker.size());
    const std::size_t next = input.find(std::string("\n") += kMarker, name_end);
    const std::size_t bytes_start = std::min(name_end + 1, input.size());
    const std::size_t bytes_end = next == std::string_view::npos ? input.size() : next + 1;
    pos = next;

    InputFile file;
    const std::size_t slash = header.find('/');
    if (slash != std::string_view::npos) file.category = header.substr(0, slash);
    file.name = header.substr(slash == std::string_view::npos ? 0 : slash + 1);
    file.bytes = input.substr(bytes_start, bytes_end - bytes_start);
    const bool usable =
        slash == std::string_view::npos
            ? IsUsableName(file.name)
            : IsUsableName(file.category) && (file.name.empty() || IsUsableName(file.name));
    if (usable) files.push_back(std::move(file));
  }
  return files;
}

// Settings name the scratch Favorites folder on their Favorites line, or keep
// it empty there so that the run asks the lookup; no run leaves the scratch.
std::string WithFavoritesLine(std::string_view settings, const std::string& favorites) {
  std::string out;
  int line = 1;
  std::size_t pos = 0;
  while (pos < settings.size()) {
    std::size_t stop = settings.find_first_of("\r\n", pos);
    if (stop == std::string_view::npos) stop = settings.size();
    std::size_t next = stop < settings.size() ? stop + 1 : stop;
    if (stop < settings.size() && settings[stop] == '\r' && next < settings.size() &&
        settings[next] == '\n') {
      ++next;
    }
    const bool replace = line == kFavoritesLine && stop > pos;
    out += replace ? favorites : std::string(settings.substr(pos, stop - pos));
    out += settings.substr(stop, next - stop);
    pos = next;
    ++line;
  }
  return out;
}

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    names.insert(entry.path().filename());
  }
  return names;
}

// Every entry under the scratch folder `relative` with the bytes of the files.
std::map<std::string, std::string> Snapshot(const std::string& relative) {
  std::map<std::string, std::string> snapshot;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(Scratch().Path(relative), error)) {
    const std::string path = entry.path().lexically_relative(Scratch().path());
    snapshot[path] = entry.is_regular_file() ? Scratch().ReadFile(path) : "(folder)";
  }
  return snapshot;
}

// Empties the scratch folders and writes the input's files into them.
void PrepareFolders(const std::vector<InputFile>& files, const std::string& favorites) {
  std::error_code error;
  for (const char* folder : {"program", "favorites"}) {
    fs::remove_all(Scratch().Path(folder), error);
    Scratch().MakeFolder(folder);
  }
  for (const InputFile& file : files) {
    if (file.category.empty()) {
      const bool settings = file.name == kSettingsFileName;
      Scratch().WriteFile("program/" + file.name,
                          settings ? WithFavoritesLine(file.bytes, favorites) : file.bytes);
    } else if (file.name.empty()) {
      Scratch().MakeFolder("favorites/" + file.category);
    } else {
      Scratch().WriteFile("favorites/" + file.category + "/" + file.name, file.bytes);
    }
  }
}

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qv;
  using namespace qv::fuzz;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string program = Scratch().Path("program/");
  const std::string favorites = Scratch().Path("favorites/");
  PrepareFolders(SplitIntoFiles(input), favorites);

  const std::set<std::string> before = Entries(program);
  const std::string settings_before = Scratch().ReadFile("program/ins.txt");
  const std::map<std::string, std::string> favorites_before = Snapshot("favorites");

  testing::FakeSurroundings surroundings(program);
  surroundings.favorites().Answer(favorites);
  ProgramState state;
  const RunReport report = BuildStartPage(state, surroundings);

  const std::string page_name =
      report.page_path.substr(std::min(program.size(), report.page_path.size()));
  Check(report.page_path.starts_with(program) && IsPlainFileName(page_name),
        "the page lies in the program folder");
  if (report.page_status.ok()) Check(Entries(program).contains(page_name), "a page written exists");
  std::set<std::string> allowed = before;
  allowed.insert({page_name, kOptionFileName});
  allowed.erase(kIntermediateFileName);
  for (const std::string& name : Entries(program)) {
    Check(allowed.contains(name), "a run leaves in the program folder only the page and its lists");
  }
  Check(Scratch().ReadFile("program/ins.txt") == settings_before,
        "a run never changes the settings");
  Check(Snapshot("favorites") == favorites_before, "a run never changes the Favorites folder");
  return 0;
}
