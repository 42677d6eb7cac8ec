#include <signal.h>

#include "app/process_setup.h"

namespace qv {

void IgnoreFileSizeSignal() {
  signal(SIGXFSZ, SIG_IGN);
}

}  // namespace qv
