// vorlindo-build: one generation run in the program's own folder, as the
// program does at start-up, without windows. Reads "ins.txt" when present and
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
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "app/process_setup.h"
#include "generator/folder_watcher.h"
#include "generator/stop_signal.h"
#include "run/page_watch.h"
#include "run/start_page.h"
#include "run/surroundings.h"
#include "settings/program_state.h"

namespace {

constexpr const char* kProgramName = "vorlindo-build";

// Tells what the run left; true when it wrote the page.
bool Report(const qv::RunReport& report) {
  if (!report.page_status.ok()) {
    std::fprintf(stderr, "%s: %s\n", kProgramName, report.page_status.reason().c_str());
    return false;
  }
  for (const std::string& problem : report.problems) {
    std::fprintf(stderr, "%s: warning: %s\n", kProgramName, problem.c_str());
  }
  std::printf("%s\n", report.page_path.c_str());
  std::fflush(stdout);
  return true;
}

// The machine's own surroundings, but the program folder that of the start:
// the watch follows that folder by its name, also when it is replaced and the
// running program stays behind in the folder renamed away.
class StartFolderSurroundings : public qv::RunSurroundings {
 public:
  std::string AppFolder() override { return app_folder_; }
  qv::FavoritesLookup& Favorites() override { return system_.Favorites(); }
  qv::CalendarDate Today() override { return system_.Today(); }

 private:
  qv::SystemSurroundings system_;
  const std::string app_folder_ = system_.AppFolder();
};

int BuildAndWatch() {
  qv::Result<std::unique_ptr<qv::FolderWatcher>> watcher = qv::FolderWatcher::Open();
  if (!watcher.ok()) {
    std::fprintf(stderr, "%s: %s\n", kProgramName, watcher.status().reason().c_str());
    return 1;
  }
  const qv::StopOnSignals stop(**watcher);

  qv::ProgramState state;
  StartFolderSurroundings surroundings;
  const qv::Status watched = qv::BuildAndWatch(
      state, surroundings, **watcher, [&stop] { return stop.Requested(); },
      [](const qv::RunReport& report) { Report(report); });
  if (!watched.ok()) {
    std::fprintf(stderr, "%s: %s\n", kProgramName, watched.reason().c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool watch = argc == 2 && std::string_view(argv[1]) == "--watch";
  if (argc > 1 && !watch) {
    std::fprintf(stderr,
                 "usage: %s [--watch]\nBuilds the start page in the program's own folder from its "
                 "\"ins.txt\" and prints the page's path; with --watch again after every change.\n",
                 argv[0]);
    return 2;
  }
  qv::IgnoreFileSizeSignal();
  if (watch) return BuildAndWatch();

  qv::ProgramState state;
  qv::SystemSurroundings surroundings;
  return Report(qv::BuildStartPage(state, surroundings)) ? 0 : 1;
}
