// Which of the common failures a system error code stands for: an errno
// value on POSIX, a GetLastError() value on Windows.
#pragma once

#include "generator/status.h"

namespace qv {

SystemFailure SystemFailureOf(unsigned long code);

}  // namespace qv
