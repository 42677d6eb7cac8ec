// vorlindo_bench: times whole generation runs over synthetic Favorites folders
// of 1,000, 10,000 and 50,000 shortcuts against the floor of reading every
// shortcut once and writing a page of the same size durably (aside, flushed,
// renamed), and measures what a run holds in memory. Prints one line per size
// (run median, floor median, their ratio, the load average over the rounds,
// then the memory figures), then whether the targets hold: a run within 1.3
// times the floor, time linear in the number of files, and no memory growing
// with the page beyond the link grid. A third line per size times the floor
// with the two checks every run makes of each file besides reading it (a
// regular file? hidden by its attributes?), to show what of the gap they are.
//
// Run and floors take turns, after one warm-up each, so that both meet the
// same load on a shared machine; times are medians of wall time and of the
// process's own processor time. The ratio target is judged on wall time: both
// wait for the same disk, and what the run adds to the floor is what the user
// waits for. The run reads several category folders at once, the floor one
// file after another, so with more than one processor the run's wall time may
// come under the floor's while its processor time stays above. The tree just
// written is in the page cache; "--cold" drops the contents of its files from
// the cache before every timed call (its folders and file metadata stay
// cached).
// Exit status 0 when every target holds, 3 when one fails, 1 when it cannot
// run.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "bench_figures.h"
#include "bench_surroundings.h"
#include "floor_run.h"
#include "generator/file_system.h"
#include "generator/folder_scan.h"
#include "generator/link_collection.h"
#include "generator/side_files.h"
#include "generator/types.h"
#include "generator/work_sharing.h"
#include "memory_probe.h"
#include "run/start_page.h"
#include "settings/app_folder.h"
#include "settings/settings_file.h"
#include "synthetic_favorites.h"

namespace qv::bench {
namespace {

namespace fs = std::filesystem;

struct Case {
  FavoritesShape shape;
  int repetitions;
};

constexpr Case kCases[] = {{{1000, 25}, 9}, {{10000, 250}, 9}, {{50000, 1000}, 7}};

constexpr double kMaxFloorRatio = 1.3;
// Below this size the run's fixed work (settings, templates, the merge's set-up)
// outweighs the shortcuts, so the ratio to the floor is shown but not judged.
constexpr std::size_t kSmallestJudgedSize = 10000;
// Time per file at a larger size may exceed that of the smallest by this much.
constexpr double kMaxPerFileGrowth = 1.5;
// What a run holds beside the grid may grow by this much from the smallest size.
constexpr std::size_t kMaxOverheadGrowth = 1 << 20;

constexpr std::size_t kKiB = 1024;

struct Timing {
  double wall_ms = 0;
  double cpu_ms = 0;  // this process's own processor time, user and system
};

double CpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

Timing TimeOnce(const std::function<void()>& work) {
  const double cpu_start = CpuMs();
  const auto start = std::chrono::steady_clock::now();
  work();
  const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
  return {took.count(), CpuMs() - cpu_start};
}

// Median wall and processor times of `repetitions` calls of each of
// `contenders`, taken in turns after one warm-up call of each. `prepare` runs
// before every timed call, outside the time.
std::vector<Timing> TimeInTurns(int repetitions, const std::function<void()>& prepare,
                                const std::vector<std::function<void()>>& contenders) {
  for (const auto& contender : contenders) contender();
  std::vector<std::vector<double>> wall(contenders.size()), cpu(contenders.size());
  for (int i = 0; i < repetitions; ++i) {
    for (std::size_t c = 0; c < contenders.size(); ++c) {
      prepare();
      const Timing took = TimeOnce(contenders[c]);
      wall[c].push_back(took.wall_ms);
      cpu[c].push_back(took.cpu_ms);
    }
  }
  std::vector<Timing> medians;
  for (std::size_t c = 0; c < contenders.size(); ++c) {
    medians.push_back({Median(wall[c]), Median(cpu[c])});
  }
  return medians;
}

struct Figures {
  std::size_t files = 0;
  std::size_t folders = 0;
  std::size_t page_bytes = 0;
  Timing run;
  Timing floor;
  Timing checked_floor;    // the floor with the checks a run makes of each file
  double load_before = 0;  // one-minute load average before and after the rounds
  double load_after = 0;
  std::size_t heap_peak = 0;   // growth of the heap during one run
  std::size_t grid_bytes = 0;  // the column lists and the link grid alone
  std::size_t rss_growth = 0;  // growth of the resident set during one run
  std::size_t process_max_rss = 0;

  double wall_ratio() const { return run.wall_ms / floor.wall_ms; }
  double cpu_ratio() const { return run.cpu_ms / floor.cpu_ms; }
  double us_per_file() const { return run.cpu_ms * 1000.0 / static_cast<double>(files); }
  long long overhead() const {
    return static_cast<long long>(heap_peak) - static_cast<long long>(grid_bytes);
  }
};

// Small templates for when the data files are not beside the benchmark.
constexpr const char* kFallbackHeader = "<html><body>\r\n<table>\r\n";
constexpr const char* kFallbackFooter = "</table>\r\n<select>\r\n @#$OPTION@#$\r\n</select>\r\n";

bool SetUpProgramFolder(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) return false;
  const std::string source = AppFolder();
  for (const char* name : {kHeaderTemplateName, kFooterTemplateName, kDutchLanguageFileName,
                           kEnglishLanguageFileName}) {
    if (fs::copy_file(source + name, folder / name, error)) continue;
    const std::string name_text = name;
    if (name_text != kHeaderTemplateName && name_text != kFooterTemplateName) continue;
    std::fprintf(stderr, "note: no %s beside the benchmark; using a small built-in one\n", name);
    std::ofstream(folder / name, std::ios::binary)
        << (name_text == kHeaderTemplateName ? kFallbackHeader : kFallbackFooter);
  }
  return true;
}

// Heap taken by the catalogue stages' tables for `tree`, measured while they
// are alive.
std::size_t GridFootprint(const std::string& tree) {
  TrimHeap();
  const std::size_t before = HeapInUse();
  ColumnLists columns;
  LinkGrid grid;
  ScanFolders(WithTrailingSeparator(tree), columns);
  BuildLinkGrid(columns, tree, grid);
  return HeapInUse() - before;
}

// The run's growth of the heap and of the resident set, and the part of it
// the catalogue's tables take.
void MeasureMemory(ProgramState& state, BenchSurroundings& surroundings, const std::string& tree,
                   Figures& figures) {
  TrimHeap();
  const std::size_t heap_before = HeapInUse();
  const std::size_t rss_before = ResidentNow();
  ResetHeapPeak();
  const bool rss_peak_reset = ResetResidentPeak();
  BuildStartPage(state, surroundings);
  figures.heap_peak = HeapPeak() - heap_before;
  figures.rss_growth = rss_peak_reset ? ResidentPeak() - std::min(ResidentPeak(), rss_before) : 0;
  figures.grid_bytes = GridFootprint(tree);
  figures.process_max_rss = ProcessMaxResident();
}

// Times the run and the floor for one tree; false when the run left no page
// or the floor could not read or write.
bool TimeCase(const Case& bench_case, bool cold, ProgramState& state,
              BenchSurroundings& surroundings, const std::string& tree, Figures& figures) {
  const RunReport first = BuildStartPage(state, surroundings);
  for (const std::string& problem : first.problems) {
    std::fprintf(stderr, "run: %s\n", problem.c_str());
  }
  std::error_code error;
  figures.page_bytes = fs::file_size(first.page_path, error);
  if (error) {
    std::fprintf(stderr, "no page at %s\n", first.page_path.c_str());
    return false;
  }

  const std::string floor_page = surroundings.Folders().own + "floor.html";
  bool floor_ok = true;
  figures.load_before = LoadAverage();
  const auto floor_with = [&](FileChecks checks) {
    return [&, checks] {
      floor_ok = ReadEveryShortcut(tree, checks) >= 0 &&
                 WritePageOfSize(floor_page, figures.page_bytes) && floor_ok;
    };
  };
  const std::vector<Timing> medians =
      TimeInTurns(bench_case.repetitions,
                  [&] {
                    if (cold) EvictFileContents(tree);
                  },
                  {[&] { BuildStartPage(state, surroundings); }, floor_with(FileChecks::kNone),
                   floor_with(FileChecks::kAsARun)});
  figures.run = medians[0];
  figures.floor = medians[1];
  figures.checked_floor = medians[2];
  figures.load_after = LoadAverage();
  if (!floor_ok)
    std::fprintf(stderr, "the floor could not read %s or write its page\n", tree.c_str());
  return floor_ok;
}

bool MeasureCase(const Case& bench_case, bool cold, const fs::path& work, Figures& figures) {
  const FavoritesShape& shape = bench_case.shape;
  figures.files = shape.files;
  figures.folders = shape.folders;
  const fs::path program = work / ("program-" + std::to_string(shape.files));
  const std::string tree = (work / ("favorites-" + std::to_string(shape.files))).string();
  if (!SetUpProgramFolder(program) || !MakeFavorites(tree, shape)) {
    std::fprintf(stderr, "cannot set up %zu shortcuts in %s\n", shape.files, work.c_str());
    return false;
  }

  // The run reads its Favorites folder from the settings file, as it does
  // in the program.
  ProgramState state;
  state.settings.favorites_folder = tree;
  if (const Status saved = SaveSettings(state, program.string()); !saved.ok()) {
    std::fprintf(stderr, "%s\n", saved.reason().c_str());
    return false;
  }
  BenchSurroundings surroundings(program.string());
  const bool timed = TimeCase(bench_case, cold, state, surroundings, tree, figures);
  if (timed) MeasureMemory(state, surroundings, tree, figures);

  std::error_code error;
  fs::remove_all(tree, error);
  fs::remove_all(program, error);
  return timed;
}

void PrintFigures(const Figures& f, int repetitions) {
  std::printf(
      "%6zu shortcuts in %4zu folders: run median %7.1f ms, floor median %7.1f ms, ratio %.2f"
      " (%d each, load %.2f to %.2f; processor %.1f / %.1f ms, ratio %.2f; %.2f processor us"
      " per shortcut)\n",
      f.files, f.folders, f.run.wall_ms, f.floor.wall_ms, f.wall_ratio(), repetitions,
      f.load_before, f.load_after, f.run.cpu_ms, f.floor.cpu_ms, f.cpu_ratio(), f.us_per_file());
  std::printf(
      "%36s floor with the run's checks of each file (type, hidden attribute) %.1f ms,"
      " ratio %.2f\n",
      "", f.checked_floor.wall_ms, f.run.wall_ms / f.checked_floor.wall_ms);
  std::printf(
      "%36s page %zu KiB; heap %zu KiB, grid %zu KiB, other %lld KiB, resident +%zu KiB,"
      " peak resident %zu KiB\n",
      "", f.page_bytes / kKiB, f.heap_peak / kKiB, f.grid_bytes / kKiB,
      f.overhead() / static_cast<long long>(kKiB), f.rss_growth / kKiB, f.process_max_rss / kKiB);
  std::fflush(stdout);
}

// Prints the verdict on each target; true when all hold.
bool JudgeTargets(const std::vector<Figures>& all) {
  const Figures& smallest = all.front();
  bool ratio_ok = true;
  bool linear_ok = true;
  bool memory_ok = true;
  for (const Figures& f : all) {
    if (f.files >= kSmallestJudgedSize) {
      ratio_ok = ratio_ok && f.wall_ratio() <= kMaxFloorRatio;
    }
    linear_ok = linear_ok && f.us_per_file() <= kMaxPerFileGrowth * smallest.us_per_file();
    memory_ok = memory_ok &&
                f.overhead() <= smallest.overhead() + static_cast<long long>(kMaxOverheadGrowth);
  }
  std::printf("target run within %.1fx of the floor from %zu shortcuts (median wall time): %s\n",
              kMaxFloorRatio, kSmallestJudgedSize, ratio_ok ? "holds" : "FAILS");
  std::printf(
      "target time linear in files (processor us per shortcut within %.1fx of the smallest"
      " size): %s\n",
      kMaxPerFileGrowth, linear_ok ? "holds" : "FAILS");
  std::printf("target memory beside the grid not growing (within %zu KiB): %s\n",
              kMaxOverheadGrowth / kKiB, memory_ok ? "holds" : "FAILS");
  return ratio_ok && linear_ok && memory_ok;
}

int Run(bool cold) {
  std::error_code error;
  std::string pattern = (fs::temp_directory_path(error) / "vorlindo-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("cannot make a temporary folder");
    return 1;
  }
  const fs::path work = pattern;

  std::printf(
      "file contents %s before every timed call; the run reads on up to %u threads, "
      "the floor on one\n",
      cold ? "dropped from the page cache" : "left in the page cache", WorkThreadCount());
  std::vector<Figures> all;
  bool ok = true;
  for (const Case& bench_case : kCases) {
    Figures figures;
    if (!MeasureCase(bench_case, cold, work, figures)) {
      ok = false;
      break;
    }
    PrintFigures(figures, bench_case.repetitions);
    all.push_back(figures);
  }
  fs::remove_all(work, error);
  if (!ok) return 1;
  return JudgeTargets(all) ? 0 : 3;
}

}  // namespace
}  // namespace qv::bench

int main(int argc, char** argv) {
  const bool cold = argc == 2 && std::string_view(argv[1]) == "--cold";
  if (argc > 2 || (argc == 2 && !cold)) {
    std::fprintf(stderr, "usage: vorlindo_bench [--cold]\n");
    return 1;
  }
  return qv::bench::Run(cold);
}
