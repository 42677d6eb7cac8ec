#include "support/child_process.h"

namespace qv::testing {

bool ChildProcess::Supported() {
  return false;
}

Result<std::unique_ptr<ChildProcess>> ChildProcess::Start(const std::string&, const std::string&,
                                                          const ChildOptions&) {
  return Status::Error("POSIX only: child processes with file size and memory limits");
}

bool MakeSparseFile(const std::string&, std::string_view, std::uint64_t) {
  return false;
}

}  // namespace qv::testing
