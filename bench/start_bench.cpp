// vorlindo_start_bench: how long a user waits from starting the program to
// seeing the links of the page, with 100 and 1,000 links. It starts the real
// program (run it under xvfb-run with a window manager) and watches the
// screen itself, through a connection of its own to the display, for the
// link cells' colour across three lines of the screen; the end is when they
// are on screen, not when the program says so. Side by side, in turns: the
// baseline vorlindo_bare_view, one browser view showing the same page and
// nothing else, which is what the browser engine itself takes to start.
// Prints medians and the load average; exit status 0 when the program's
// median at 1,000 links is under 500 ms, 3 when not, 1 when it cannot run.
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "bench_figures.h"
#include "bench_surroundings.h"
#include "program_folder.h"
#include "run/start_page.h"
#include "screen_probe.h"
#include "settings/settings_file.h"

namespace qv::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 11;
constexpr double kTargetMs = 500;
// The link cells' colour as the page is built with the default settings.
constexpr unsigned long kLinkCellColour = 0xFFCC99;
// Pixels of that colour on the three watched lines that make the links shown:
// more than any swatch of the settings window holds.
constexpr int kShownPixels = 120;
constexpr auto kGiveUp = std::chrono::seconds(20);

// Starts `arguments`, waits for the links on screen and ends the program;
// returns the milliseconds from the start, or -1 when they never showed.
double TimeToLinks(ScreenProbe& screen, std::vector<std::string> arguments) {
  while (screen.CountOnLines(kLinkCellColour) >= kShownPixels) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the last one still closing
  }
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  double shown = -1;
  while (child > 0 && Clock::now() - start < kGiveUp) {
    if (screen.CountOnLines(kLinkCellColour) >= kShownPixels) {
      shown = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (child > 0) {
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
  }
  return shown;
}

// The program copied into `folder`, so that it lives there beside its data,
// and the page built there for the baseline to show.
bool PrepareFolder(const std::string& bin, const std::string& folder) {
  std::error_code error;
  fs::copy_file(fs::path(bin) / "vorlindo", fs::path(folder) / "vorlindo",
                fs::copy_options::overwrite_existing, error);
  if (error) return false;
  BenchSurroundings surroundings(folder);
  ProgramState state;
  if (!LoadSettings(state, folder).ok()) return false;
  return BuildStartPage(state, surroundings).page_status.ok();
}

int Run(const std::string& bin) {
  ScreenProbe screen;
  if (!screen.ok()) {
    std::fprintf(stderr, "vorlindo_start_bench cannot open the display\n");
    return 1;
  }
  const fs::path root =
      fs::temp_directory_path() / ("vorlindo_start_bench_" + std::to_string(::getpid()));
  bool target_holds = true;
  std::printf(
      "links  program (min-max)  bare view  difference (median ms from start to links on "
      "screen, %d rounds)\n",
      kRounds);
  for (const int links : {100, 1000}) {
    const std::string folder = MakeProgramFolder(root.string(), links, bin);
    if (folder.empty() || !PrepareFolder(bin, folder)) {
      std::fprintf(stderr, "cannot prepare %s\n", folder.c_str());
      return 1;
    }
    const std::vector<std::string> program = {folder + "vorlindo"};
    const std::vector<std::string> bare = {bin + "/vorlindo_bare_view", folder + "mijnstart.html"};
    TimeToLinks(screen, program);  // warm-up: the libraries into the page cache
    TimeToLinks(screen, bare);
    std::vector<double> program_ms, bare_ms;
    double load = 0;
    for (int round = 0; round < kRounds; ++round) {
      load += LoadAverage() / kRounds;
      // Each goes first in turn, so that neither always meets what the other left behind.
      const bool bare_first = round % 2 == 1;
      if (bare_first) bare_ms.push_back(TimeToLinks(screen, bare));
      program_ms.push_back(TimeToLinks(screen, program));
      if (!bare_first) bare_ms.push_back(TimeToLinks(screen, bare));
    }
    const double median = Median(program_ms);
    const auto [least, most] = std::minmax_element(program_ms.begin(), program_ms.end());
    std::printf("%5d  %7.0f (%4.0f-%4.0f)  %9.0f  %10.0f  (load %.1f)\n", links, median, *least,
                *most, Median(bare_ms), median - Median(bare_ms), load);
    std::fflush(stdout);
    if (links == 1000) {
      target_holds =
          median >= 0 && median < kTargetMs &&
          std::none_of(program_ms.begin(), program_ms.end(), [](double ms) { return ms < 0; });
    }
  }
  std::error_code ignored;
  fs::remove_all(root, ignored);
  std::printf("target (under %.0f ms at 1,000 links) %s\n", kTargetMs,
              target_holds ? "holds" : "FAILS");
  return target_holds ? 0 : 3;
}

}  // namespace
}  // namespace qv::bench

int main() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return 1;
  return qv::bench::Run(self.parent_path().string());
}
