// vorlindo-build: one generation run in the program's own folder (beside the
// executable, or the user's own for an installed program), as the program
// does at start-up, without windows. Reads "ins.txt" when present and
// never writes it. Prints the page's path; exit status 0 only when this run
// wrote the whole page, otherwise a one-line reason on standard error and
// status 1 (the page of the run before then stays as it was).
//
// With --watch it builds the page again whenever the Favorites folder or the
// program's own input files change, and when either folder is replaced,
// removed or made again, printing the path after each run (a reason on
// standard error for a run that failed), until it is interrupted or
// terminated; it exits with status 0 then, and with status 1 and the reason
// when the folders cannot be watched.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/console_output.h"
#include "app/process_setup.h"
#include "generator/folder_watcher.h"
#include "generator/stop_signal.h"
#include "run/page_watch.h"
#include "run/start_page.h"
#include "run/surroundings.h"
#include "settings/program_state.h"
#include "vorlindo_version.h"

namespace {

constexpr const char* kProgramName = "vorlindo-build";

constexpr const char* kUsage =
    "usage: vorlindo-build [--watch]\n"
    "Builds the start page from the Favorites folder and the settings file \"ins.txt\", and\n"
    "prints the page's path. The settings and the page lie beside the program, or, when it is\n"
    "installed, in your own folder: $XDG_DATA_HOME/vorlindo (~/.local/share/vorlindo), on\n"
    "Windows %APPDATA%\\Qelmora Vorlindo.\n"
    "  --watch    build the page again after every change, until interrupted\n"
    "  --help     print this help\n"
    "  --version  print the program's name and version\n"
    "Exit status 0 when the page was written whole, otherwise 1.\n";

// Where the program prints: the page's path, and the reasons.
struct Printing {
  qv::TextOutput out{qv::StandardStream::kOutput};
  qv::TextOutput err{qv::StandardStream::kError};
};

// Tells what the run left; true when it wrote the page.
bool Report(const qv::RunReport& report, Printing& print) {
  if (!report.page_status.ok()) {
    print.err << kProgramName << ": " << report.page_status.reason() << "\n";
    return false;
  }
  for (const std::string& problem : report.problems) {
    print.err << kProgramName << ": warning: " << problem << "\n";
  }
  print.out << report.page_path << "\n" << std::flush;
  return true;
}

// The machine's own surroundings, but the program's folders those of the
// start: the watch follows them by their names, also when one is replaced and
// the running program stays behind in the folder renamed away.
class StartFolderSurroundings : public qv::RunSurroundings {
 public:
  qv::ProgramFolders Folders() override { return folders_; }
  qv::FavoritesLookup& Favorites() override { return system_.Favorites(); }
  qv::CalendarDate Today() override { return system_.Today(); }

 private:
  qv::SystemSurroundings system_;
  const qv::ProgramFolders folders_ = system_.Folders();
};

int BuildAndWatch(Printing& print) {
  qv::Result<std::unique_ptr<qv::FolderWatcher>> watcher = qv::FolderWatcher::Open();
  if (!watcher.ok()) {
    print.err << kProgramName << ": " << watcher.status().reason() << "\n";
    return 1;
  }
  const qv::StopOnSignals stop(**watcher);

  qv::ProgramState state;
  StartFolderSurroundings surroundings;
  const qv::Status watched = qv::BuildAndWatch(
      state, surroundings, **watcher, [&stop] { return stop.Requested(); },
      [&print](const qv::RunReport& report) { Report(report, print); });
  if (!watched.ok()) {
    print.err << kProgramName << ": " << watched.reason() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = qv::CommandLineArguments(argc, argv);
  Printing print;
  const std::string option = arguments.size() == 2 ? arguments[1] : std::string();
  if (option == "--help" || option == "-h") {
    print.out << kUsage;
    return 0;
  }
  if (option == "--version") {
    print.out << kProgramName << " " << qv::kVersion << "\n";
    return 0;
  }
  const bool watch = option == "--watch";
  if (arguments.size() > 1 && !watch) {
    const std::string& odd = arguments[1] == "--watch" ? arguments[2] : arguments[1];
    print.err << kProgramName << ": " << (odd.starts_with('-') ? "unknown option " : "no use for ")
              << odd << "\n"
              << kUsage;
    return 2;
  }
  qv::IgnoreFileSizeSignal();
  if (watch) return BuildAndWatch(print);

  qv::ProgramState state;
  qv::SystemSurroundings surroundings;
  return Report(qv::BuildStartPage(state, surroundings), print) ? 0 : 1;
}
