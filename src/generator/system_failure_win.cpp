#include "generator/system_failure.h"
#include "generator/windows_api.h"

namespace qv {

SystemFailure SystemFailureOf(unsigned long code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return SystemFailure::kNotFound;
    case ERROR_ACCESS_DENIED:
      return SystemFailure::kNoPermission;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return SystemFailure::kNoSpace;
    case ERROR_WRITE_PROTECT:
      return SystemFailure::kReadOnly;
    case ERROR_FILE_TOO_LARGE:
      return SystemFailure::kTooLarge;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY:
      return SystemFailure::kBusy;
    default:
      return SystemFailure::kOther;
  }
}

}  // namespace qv
