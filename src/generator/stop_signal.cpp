#include "generator/stop_signal.h"

#include <csignal>

namespace qv {
namespace {

// What a signal handler may touch: a flag and the watcher's wake, both safe
// there.
volatile std::sig_atomic_t stop_requested = 0;
FolderWatcher* watcher_to_wake = nullptr;

extern "C" void RequestStop(int) {
  stop_requested = 1;
  if (watcher_to_wake != nullptr) watcher_to_wake->Wake();
}

}  // namespace

StopOnSignals::StopOnSignals(FolderWatcher& watcher) {
  stop_requested = 0;
  watcher_to_wake = &watcher;
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
}

StopOnSignals::~StopOnSignals() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  watcher_to_wake = nullptr;
}

bool StopOnSignals::Requested() const {
  return stop_requested != 0;
}

}  // namespace qv
