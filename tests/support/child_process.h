// Child processes for tests that run the program as its users do: killed
// half-way, two at once, under limits of file size and memory, or with
// surroundings of their own. POSIX only: on Windows Start fails and says so,
// and such tests skip.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "generator/status.h"

namespace qv::testing {

// How a child starts: its arguments, its surroundings and its limits.
struct ChildOptions {
  std::uint64_t file_size = 0;      // bytes a file may grow to; 0 for no limit
  std::uint64_t address_space = 0;  // bytes of memory the process may map; 0 for no limit
  // Descriptors the process may open besides its standard input, output and
  // error, the only ones it starts with; 0 for no limit.
  std::uint64_t open_files = 0;
  // As the unprivileged user "nobody" when the test runs as the
  // administrator, whom no folder permission stops.
  bool unprivileged = false;
  std::vector<std::string> arguments = {};
  // Variables set for the child, or unset where the value is none.
  std::vector<std::pair<std::string, std::optional<std::string>>> environment = {};
  // The file its standard output is written to; dropped when empty.
  std::string output_path = {};
};

class ChildProcess {
 public:
  // False where Start always fails.
  static bool Supported();
  // Starts `program` with `options`, its standard error written to
  // `error_path`.
  static Result<std::unique_ptr<ChildProcess>> Start(const std::string& program,
                                                     const std::string& error_path,
                                                     const ChildOptions& options = {});
  // Kills the process when it still runs, and waits for it.
  virtual ~ChildProcess() = default;

  virtual void Kill() = 0;
  // Sends the POSIX signal `number`, as the user's Ctrl+C or a shutdown do.
  virtual void Signal(int number) = 0;
  // Waits for the end: the exit status, or minus the signal that ended it.
  virtual int Wait() = 0;
  // Waits as Wait does, but no longer than `patience`: nothing then.
  virtual std::optional<int> WaitFor(std::chrono::milliseconds patience) = 0;
};

// A file of `size` bytes: `head`, then zero bytes that take no room on disk
// where the file system allows it.
bool MakeSparseFile(const std::string& path, std::string_view head, std::uint64_t size);

}  // namespace qv::testing
