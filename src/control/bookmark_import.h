// What the "Import bookmarks..." button of the settings window needs: an
// importer of browser bookmarks into the Favorites folder, and the dialogs
// that let the user pick what to import.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "control/views.h"
#include "generator/status.h"
#include "settings/program_folders.h"

namespace qv {

// A browser's bookmarks found on this machine.
struct BookmarkSource {
  std::string caption;  // "firefox (default-release)"
  std::string path;     // its bookmark store
};

class BookmarkImporter {
 public:
  virtual ~BookmarkImporter() = default;
  // The browsers' bookmarks found, each browser's default profile first.
  virtual std::vector<BookmarkSource> SourcesFound() = 0;
  // Imports the store or bookmarks file at `path` into the Favorites folder
  // that the settings file in the program's own folder names (or the one it
  // settles and writes there); the folder and the importer's one-line summary, or why
  // nothing was imported.
  struct Outcome {
    std::string favorites_folder;
    std::string summary;
  };
  virtual Result<Outcome> Import(const std::string& path, const ProgramFolders& folders) = 0;
};

// The texts of the import dialogs, in the window's language.
struct ImportWords {
  const char* title;
  const char* choose;     // above the list of sources
  const char* from_file;  // the last entry of the list
  const char* file_filter;
  const char* imported_into;
  const char* not_imported;
};

class ImportView {
 public:
  virtual ~ImportView() = default;
  // Offers `sources` and, after them, `words.from_file`; the index chosen
  // (sources.size() for a file), or none when the user cancels.
  virtual std::optional<std::size_t> ChooseSource(const std::vector<BookmarkSource>& sources,
                                                  const ImportWords& words) = 0;
  // The file the user picks, or none.
  virtual std::optional<std::string> ChooseFile(const ImportWords& words) = 0;
  // The outcome, in a box of its own; returns once read.
  virtual void ShowOutcome(const Message& message) = 0;
};

const ImportWords& ImportWordsOf(Language language);

}  // namespace qv
