#include <stdlib.h>

#include "import/temporary_folder_override.h"

namespace qv::import {

TemporaryFolderOverride::TemporaryFolderOverride(const std::string& folder) {
  const char* old = getenv("TMPDIR");
  saved_.emplace_back("TMPDIR", old != nullptr ? std::optional<std::string>(old) : std::nullopt);
  setenv("TMPDIR", folder.c_str(), 1);
}

TemporaryFolderOverride::~TemporaryFolderOverride() {
  for (const auto& [name, value] : saved_) {
    if (value) {
      setenv(name.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
  }
}

}  // namespace qv::import
