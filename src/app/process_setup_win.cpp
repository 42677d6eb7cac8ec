#include "app/process_setup.h"

namespace qv {

// Windows has no file size signal: a write past a quota simply fails.
void IgnoreFileSizeSignal() {}

}  // namespace qv
