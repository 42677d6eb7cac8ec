// The command `vorlindo-import [--dry-run] [SOURCE]`: imports the bookmarks of
// a browser or a bookmarks file into the Favorites folder that the settings
// beside the program name, or lists the browsers found.
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "generator/status.h"
#include "import/bookmarks.h"
#include "import/browser_profiles.h"
#include "import/favorites_import.h"
#include "settings/favorites_lookup.h"
#include "settings/program_folders.h"

namespace qv::import {

// What the command needs from the machine; tests pass their own.
class ImportCommandSurroundings {
 public:
  virtual ~ImportCommandSurroundings() = default;
  // The program's folders; the settings file lies in the own one.
  virtual ProgramFolders Folders() = 0;
  virtual std::string HomeFolder() = 0;
  // The lookup of the user's Favorites folder (UsersFavoritesFolder).
  virtual FavoritesLookup& Favorites() = 0;
  // The browser profiles found, each browser's default profile first.
  virtual std::vector<BrowserProfile> BrowserProfiles() = 0;
  // The bookmarks of a store of any kind, told apart by its content.
  virtual Result<SourceBookmarks> ReadSource(const std::string& path) = 0;
};

struct ImportRequest {
  bool dry_run = false;
  // Import again whenever the source changes.
  bool watch = false;
  bool help = false;
  bool version = false;
  // A path or a browser name; none lists the browsers.
  std::optional<std::string> source;
};

// The machine's own: the program folder, the user's home and registry, the
// browsers' profiles and the bookmark readers.
class SystemImportSurroundings : public ImportCommandSurroundings {
 public:
  SystemImportSurroundings();
  ~SystemImportSurroundings() override;
  ProgramFolders Folders() override;
  std::string HomeFolder() override;
  FavoritesLookup& Favorites() override;
  std::vector<BrowserProfile> BrowserProfiles() override;
  Result<SourceBookmarks> ReadSource(const std::string& path) override;

 private:
  std::unique_ptr<FavoritesLookup> favorites_;
  ProgramFolders folders_;  // at the start (CurrentProgramFolders)
};

// The store a source names: a path as it is, a browser name as the store of
// its default profile (with a description for the report).
struct ResolvedSource {
  std::string path;
  std::string description;
};
Result<ResolvedSource> ResolveSource(const std::string& source,
                                     ImportCommandSurroundings& surroundings);

// The request `arguments` (without the program's name) make, or why they
// make none.
Result<ImportRequest> ParseImportArguments(const std::vector<std::string>& arguments);

// What an import brings together: the bookmarks of the source, read whole,
// and the Favorites folder they go into.
struct ImportInput {
  SourceBookmarks bookmarks;
  std::string folder;  // ending in the separator

  bool operator==(const ImportInput&) const = default;
};

// Reads the store at `path` and settles the Favorites folder (with
// `dry_run`, without making it or writing the settings).
Result<ImportInput> ReadImportInput(const std::string& path,
                                    ImportCommandSurroundings& surroundings, bool dry_run);

// Brings the Favorites folder in step with the bookmarks of `input` (with
// `dry_run`, works out what that would change) and writes the report of it
// to `out`, and a warning about the import list to `err`. The summary, or
// why the import failed, which is left to the caller to tell.
Result<ImportSummary> ImportAndReport(const ImportInput& input, const ResolvedSource& source,
                                      bool dry_run, std::ostream& out, std::ostream& err);

// One import as the command makes it, for a request that names a source:
// resolve it, read it whole, settle the Favorites folder, import, report.
// Returns the exit status as RunImportCommand does.
int ImportOnce(const ImportRequest& request, ImportCommandSurroundings& surroundings,
               std::ostream& out, std::ostream& err);

// Runs the command. The report goes to `out`, a one-line reason to `err`.
// Returns the exit status: 0 when the Favorites folder is in step with the
// source (after a dry run: was already) or the browsers were listed, 1
// otherwise, 2 for a command line that makes no sense.
int RunImportCommand(const std::vector<std::string>& arguments,
                     ImportCommandSurroundings& surroundings, std::ostream& out, std::ostream& err);

}  // namespace qv::import
