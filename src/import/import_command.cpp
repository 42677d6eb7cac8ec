#include "import/import_command.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "generator/stop_signal.h"
#include "generator/text.h"
#include "import/import_manifest.h"
#include "import/import_target.h"
#include "import/import_watch.h"
#include "vorlindo_version.h"

namespace qv::import {
namespace {

constexpr std::string_view kProgramName = "vorlindo-import";

constexpr std::array<std::string_view, 5> kBrowserNames = {"firefox", "chrome", "chromium", "edge",
                                                           "brave"};

constexpr std::string_view kUsage =
    "usage: vorlindo-import [--dry-run] [--watch] [SOURCE]\n"
    "Imports bookmarks into the Favorites folder that the program's settings name\n"
    "(when they name none, into your own: on Windows the one the registry names, elsewhere\n"
    "\"Favorites\" in the home folder), so that the start page shows them. Importing again\n"
    "brings the folder in step and keeps every file of your own.\n"
    "SOURCE is a bookmarks file that a browser exported, a \"Bookmarks\" file of Chrome,\n"
    "Chromium, Edge or Brave, Firefox's \"places.sqlite\", or a browser by name: firefox,\n"
    "chrome, chromium, edge or brave (its default profile; write ./firefox for a file of that\n"
    "name). Without SOURCE, lists the browsers and profiles found.\n"
    "  --dry-run  tell what would change, and change nothing\n"
    "  --watch    import again whenever the bookmarks change, until interrupted\n"
    "  --help     print this help\n"
    "  --version  print the program's name and version\n"
    "Exit status 0 when the Favorites folder is in step with the source, otherwise 1.\n";

bool IsBrowserName(std::string_view name) {
  const std::string folded = AsciiLowerCase(name);
  return std::find(kBrowserNames.begin(), kBrowserNames.end(), folded) != kBrowserNames.end();
}

int ListBrowsers(ImportCommandSurroundings& surroundings, std::ostream& out, std::ostream& err) {
  const std::vector<BrowserProfile> found = surroundings.BrowserProfiles();
  if (found.empty()) {
    err << kProgramName << ": no browser bookmarks found; name a bookmarks file to import\n";
    return 1;
  }
  out << "Browser bookmarks found:\n";
  for (const BrowserProfile& profile : found) {
    out << "  " << profile.browser << "  " << profile.profile << "  " << profile.store
        << (profile.is_default ? "  (default)" : "") << "\n";
  }
  return 0;
}

int Fail(std::ostream& err, const std::string& reason) {
  err << kProgramName << ": " << reason << "\n";
  return 1;
}

}  // namespace

Result<ResolvedSource> ResolveSource(const std::string& source,
                                     ImportCommandSurroundings& surroundings) {
  if (!IsBrowserName(source)) return ResolvedSource{source, source};
  const std::string browser = AsciiLowerCase(source);
  for (const BrowserProfile& found : surroundings.BrowserProfiles()) {
    if (found.browser == browser) {
      return ResolvedSource{found.store,
                            browser + " (profile " + found.profile + "): " + found.store};
    }
  }
  return Status::Error("no bookmarks of " + browser + " found on this machine");
}

Result<ImportRequest> ParseImportArguments(const std::vector<std::string>& arguments) {
  ImportRequest request;
  bool options_end = false;
  for (const std::string& argument : arguments) {
    if (!options_end && argument == "--") {
      options_end = true;
    } else if (!options_end && argument == "--dry-run") {
      request.dry_run = true;
    } else if (!options_end && argument == "--watch") {
      request.watch = true;
    } else if (!options_end && (argument == "--help" || argument == "-h")) {
      request.help = true;
    } else if (!options_end && argument == "--version") {
      request.version = true;
    } else if (!options_end && argument.size() > 1 && argument.starts_with('-')) {
      return Status::Error("unknown option " + argument);
    } else if (request.source) {
      return Status::Error("one source at a time, not " + *request.source + " and " + argument);
    } else {
      request.source = argument;
    }
  }
  return request;
}

int RunImportCommand(const std::vector<std::string>& arguments,
                     ImportCommandSurroundings& surroundings, std::ostream& out,
                     std::ostream& err) {
  const auto request = ParseImportArguments(arguments);
  if (!request.ok()) {
    err << kProgramName << ": " << request.status().reason() << "\n" << kUsage;
    return 2;
  }
  if (request->help) {
    out << kUsage;
    return 0;
  }
  if (request->version) {
    out << kProgramName << " " << kVersion << "\n";
    return 0;
  }
  if (request->watch && !request->source) {
    err << kProgramName << ": --watch needs a source to watch\n" << kUsage;
    return 2;
  }
  if (!request->source) return ListBrowsers(surroundings, out, err);
  if (request->watch) {
    auto watcher = FolderWatcher::Open();
    if (!watcher.ok()) return Fail(err, watcher.status().reason());
    const StopOnSignals stop(**watcher);
    return WatchAndImport(
        *request, surroundings, **watcher, [&stop] { return stop.Requested(); }, out, err);
  }
  return ImportOnce(*request, surroundings, out, err);
}

Result<ImportInput> ReadImportInput(const std::string& path,
                                    ImportCommandSurroundings& surroundings, bool dry_run) {
  // The source is read whole before anything is touched, so bad input
  // changes nothing, not even the settings.
  Result<SourceBookmarks> bookmarks = surroundings.ReadSource(path);
  if (!bookmarks.ok()) return bookmarks.status();
  Result<std::string> folder = SettleImportFolder(surroundings.Folders(), surroundings.HomeFolder(),
                                                  surroundings.Favorites(), dry_run);
  if (!folder.ok()) return folder.status();
  return ImportInput{std::move(*bookmarks), std::move(*folder)};
}

Result<ImportSummary> ImportAndReport(const ImportInput& input, const ResolvedSource& source,
                                      bool dry_run, std::ostream& out, std::ostream& err) {
  Result<ImportSummary> summary = ImportBookmarks(input.bookmarks, input.folder, {dry_run});
  if (!summary.ok()) return summary;
  out << "Bookmarks: " << source.description << "\n"
      << "Favorites folder: " << input.folder << "\n";
  if (dry_run) {
    for (const std::string& line : ChangeLines(*summary)) out << "  " << line << "\n";
  }
  out << SummaryLine(*summary, dry_run) << "\n";
  if (summary->manifest_lines_left_out > 0) {
    err << kProgramName << ": warning: " << summary->manifest_lines_left_out << " lines of "
        << input.folder << kManifestFileName << " were not understood and left out\n";
  }
  return summary;
}

int ImportOnce(const ImportRequest& request, ImportCommandSurroundings& surroundings,
               std::ostream& out, std::ostream& err) {
  if (!request.source) return Fail(err, "no source to import from");
  const auto source = ResolveSource(*request.source, surroundings);
  if (!source.ok()) return Fail(err, source.status().reason());
  const auto input = ReadImportInput(source->path, surroundings, request.dry_run);
  if (!input.ok()) return Fail(err, input.status().reason());
  const auto summary = ImportAndReport(*input, *source, request.dry_run, out, err);
  if (!summary.ok()) return Fail(err, summary.status().reason());
  if (request.dry_run && !summary->InStep()) {
    return Fail(err, "the Favorites folder is not in step with the bookmarks: " +
                         std::to_string(summary->changes.size()) +
                         " changes to make (dry run, nothing changed)");
  }
  return 0;
}

}  // namespace qv::import
