// Ending a watch from the outside: an interrupt (Ctrl+C) or a termination
// request stops it cleanly instead of killing the process mid-write.
#pragma once

#include "generator/folder_watcher.h"

namespace qv {

// While it lives, SIGINT and SIGTERM set a flag and wake `watcher`, and no
// longer end the process. One at a time.
class StopOnSignals {
 public:
  explicit StopOnSignals(FolderWatcher& watcher);
  ~StopOnSignals();
  StopOnSignals(const StopOnSignals&) = delete;
  StopOnSignals& operator=(const StopOnSignals&) = delete;

  // True once one of the signals came.
  bool Requested() const;
};

}  // namespace qv
