// Work shared out over threads: every index once, failures not lost.
#include "generator/work_sharing.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace qv {
namespace {

TEST(ForEachIndexTest, CallsEveryIndexOnceWhateverTheThreads) {
  const std::pair<std::size_t, unsigned> cases[] = {{0, 4}, {1, 4}, {3, 0}, {3, 8}, {1000, 4}};
  for (const auto& [count, threads] : cases) {
    std::vector<std::atomic<int>> calls(count);
    ForEachIndex(count, threads, [&calls](std::size_t i) { ++calls[i]; });
    for (std::size_t i = 0; i < count; ++i) {
      EXPECT_EQ(calls[i], 1) << i << " of " << count << " on " << threads;
    }
  }
}

TEST(ForEachIndexTest, AFailedCallIsThrownAgainAndStopsTheCallsNotBegun) {
  for (const unsigned threads : {1u, 4u}) {
    std::atomic<int> calls{0};
    const auto work = [&calls](std::size_t i) {
      ++calls;
      if (i == 2) throw std::runtime_error("no room");
    };
    EXPECT_THROW(ForEachIndex(100, threads, work), std::runtime_error);
    // On one thread the order is fixed; on more, which calls began is not.
    if (threads == 1) {
      EXPECT_EQ(calls, 3);
    }
  }
}

}  // namespace
}  // namespace qv
