#include "generator/folder_lock.h"

namespace qv {

std::string LockWaitFailure(const std::string& folder, std::chrono::milliseconds wait) {
  return "another run is building the page in " + folder + "; gave up waiting after " +
         std::to_string((wait.count() + 999) / 1000) + " s";
}

}  // namespace qv
