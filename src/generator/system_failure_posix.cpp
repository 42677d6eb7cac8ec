#include <cerrno>

#include "generator/system_failure.h"

namespace qv {

SystemFailure SystemFailureOf(unsigned long code) {
  switch (static_cast<int>(code)) {
    case ENOENT:
    case ENOTDIR:
      return SystemFailure::kNotFound;
    case EACCES:
    case EPERM:
      return SystemFailure::kNoPermission;
    case ENOSPC:
    case EDQUOT:
      return SystemFailure::kNoSpace;
    case EROFS:
      return SystemFailure::kReadOnly;
    case EFBIG:
    case EOVERFLOW:
      return SystemFailure::kTooLarge;
    case EBUSY:
    case ETXTBSY:
      return SystemFailure::kBusy;
    default:
      return SystemFailure::kOther;
  }
}

}  // namespace qv
