// Lowers the file size limit of the process for one scope, so that writes past
// it fail (EFBIG instead of the SIGXFSZ signal); unlike permission bits this
// stops root too.
#pragma once

#include <signal.h>
#include <sys/resource.h>

namespace qv::testing {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    const rlimit limit = {bytes, saved_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

}  // namespace qv::testing
