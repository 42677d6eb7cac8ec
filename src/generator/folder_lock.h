// One generation run at a time per program folder, across processes: the
// desktop program and any number of vorlindo-build runs take turns.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "generator/status.h"

namespace qv {

// Held while it lives. The lock leaves nothing in the folder: on POSIX
// systems it is an flock on the folder itself, on Windows a named mutex of
// the session, named after the folder's final path. A process that dies
// releases it.
class FolderLock {
 public:
  // Takes the lock of `folder`, waiting up to `wait` while another process
  // holds it; fails with a message saying so when the wait runs out. Where
  // the folder's file system knows no locks, or the folder cannot be opened,
  // the lock is granted unheld (held() is false): a run then goes on
  // unprotected rather than not at all.
  static Result<std::unique_ptr<FolderLock>> Acquire(const std::string& folder,
                                                     std::chrono::milliseconds wait);
  virtual ~FolderLock() = default;

  // True when other runs are really kept out.
  virtual bool held() const = 0;
};

// Why a run gave up waiting for the lock of `folder`.
std::string LockWaitFailure(const std::string& folder, std::chrono::milliseconds wait);

}  // namespace qv
