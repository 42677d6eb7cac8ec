// Importing into a folder of a test's own, and the shortcut files an import
// writes there.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "import/favorites_import.h"
#include "support/temp_folder.h"

namespace qv::import {

// What an import writes for an address that is plain ASCII.
inline std::string Shortcut(const std::string& address) {
  return "[InternetShortcut]\r\nURL=" + address + "\r\n";
}

// Imports `source` into `folder`, which is expected to work; its summary.
inline ImportSummary Import(const SourceBookmarks& source, const testing::TempFolder& folder,
                            bool dry_run = false) {
  auto summary = ImportBookmarks(source, folder.path(), {dry_run});
  EXPECT_TRUE(summary.ok()) << summary.status().reason();
  return summary.ok() ? *summary : ImportSummary{};
}

}  // namespace qv::import
