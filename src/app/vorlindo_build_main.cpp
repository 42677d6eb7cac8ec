// vorlindo-build: one generation run in the program's own folder, as the
// program does at start-up, without windows. Reads "ins.txt" when present and
// never writes it. Prints the page's path; exit status 0 only when this run
// wrote the whole page, otherwise a one-line reason on standard error and
// status 1 (the page of the run before then stays as it was).
#include <cstdio>
#include <string>

#include "app/process_setup.h"
#include "run/start_page.h"
#include "run/surroundings.h"
#include "settings/program_state.h"

namespace {

constexpr const char* kProgramName = "vorlindo-build";

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    std::fprintf(stderr,
                 "usage: %s\nBuilds the start page in the program's own folder from its "
                 "\"ins.txt\" and prints the page's path.\n",
                 argv[0]);
    return 2;
  }
  qv::IgnoreFileSizeSignal();
  qv::ProgramState state;
  qv::SystemSurroundings surroundings;
  const qv::RunReport report = qv::BuildStartPage(state, surroundings);

  if (!report.page_status.ok()) {
    std::fprintf(stderr, "%s: %s\n", kProgramName, report.page_status.reason().c_str());
    return 1;
  }
  for (const std::string& problem : report.problems) {
    std::fprintf(stderr, "%s: warning: %s\n", kProgramName, problem.c_str());
  }
  std::printf("%s\n", report.page_path.c_str());
  return 0;
}
