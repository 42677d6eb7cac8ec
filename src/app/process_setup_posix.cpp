#include <signal.h>

#include "app/process_setup.h"

namespace qv {

void IgnoreFileSizeSignal() {
  signal(SIGXFSZ, SIG_IGN);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

}  // namespace qv
