// The machine's own surroundings of a run.
#include "run/surroundings.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "generator/file_system.h"

namespace qv {
namespace {

// No templates beside the tests and no installation above them: the
// program lives beside its executable.
TEST(SystemSurroundings, TheProgramFolderIsTheExecutablesEndingInOneSeparator) {
  const ProgramFolders folders = SystemSurroundings().Folders();
  EXPECT_TRUE(folders.installed.empty());
  const std::string& folder = folders.own;
  ASSERT_GE(folder.size(), 2u);
  EXPECT_EQ(folder.back(), kPathSeparator);
  EXPECT_NE(folder[folder.size() - 2], kPathSeparator);
  // The tests lie in the build's "tests" folder.
  EXPECT_TRUE(std::filesystem::exists(folder + "core_tests") ||
              std::filesystem::exists(folder + "core_tests.exe"))
      << folder;
}

// Today as the C library writes it, "2026-12-05".
std::string FormattedToday() {
  const std::time_t now = std::time(nullptr);
  char text[16] = {};
  std::strftime(text, sizeof text, "%Y-%m-%d", std::localtime(&now));
  return text;
}

TEST(SystemSurroundings, TodayIsTheLocalDateWithItsFullYearAndMonthsFromOne) {
  // Read on both sides of the call, in case midnight passes in between.
  const std::string before = FormattedToday();
  const CalendarDate today = SystemSurroundings().Today();
  const std::string after = FormattedToday();
  char text[32] = {};
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", today.year, today.month, today.day);
  EXPECT_TRUE(text == before || text == after) << text << " is not " << before;
}

}  // namespace
}  // namespace qv
