// vorlindo-build: one generation run in the program's own folder, as the
// program does at start-up, without windows. Reads "ins.txt" when present and
// never writes it. Prints the page's path; exit status 0 when the page exists
// afterwards, otherwise a one-line reason on standard error and status 1.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "generator/text_encoding.h"
#include "run/start_page.h"
#include "run/surroundings.h"
#include "settings/program_state.h"

namespace {

constexpr const char* kProgramName = "vorlindo-build";

bool PageExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(qv::NativePath(path), error);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    std::fprintf(stderr,
                 "usage: %s\nBuilds the start page in the program's own folder from its "
                 "\"ins.txt\" and prints the page's path.\n",
                 argv[0]);
    return 2;
  }
  qv::ProgramState state;
  qv::SystemSurroundings surroundings;
  const qv::RunReport report = qv::BuildStartPage(state, surroundings);

  if (!PageExists(report.page_path)) {
    const std::string reason = report.page_status.ok()
                                   ? "the page " + report.page_path + " was not written"
                                   : report.page_status.reason();
    std::fprintf(stderr, "%s: %s\n", kProgramName, reason.c_str());
    return 1;
  }
  for (const std::string& problem : report.problems) {
    std::fprintf(stderr, "%s: warning: %s\n", kProgramName, problem.c_str());
  }
  std::printf("%s\n", report.page_path.c_str());
  return 0;
}
