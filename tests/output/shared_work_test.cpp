// Work shared out among threads: every item once, a stop keeps the rest
// untaken, and what a helper thread throws reaches the caller.
#include "domain/shared_work.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace tarnvale {
namespace {

TEST(ShareWork, EveryItemOnceWhateverTheThreads) {
  for (const unsigned threads : {1u, 2u, 8u}) {
    std::vector<std::atomic<int>> calls(100);
    EXPECT_TRUE(ShareWork(calls.size(), threads, [&](std::size_t i) { return ++calls[i] > 0; }));
    for (const std::atomic<int>& count : calls) EXPECT_EQ(count, 1) << threads << " threads";
  }
}

TEST(ShareWork, AStopLeavesTheLaterItemsUntaken) {
  std::atomic<std::size_t> taken{0};
  EXPECT_FALSE(ShareWork(1000, 2, [&](std::size_t i) {
    ++taken;
    return i < 10;
  }));
  EXPECT_LT(taken, 1000u);
}

TEST(ShareWork, WhatAnyThreadThrowsReachesTheCaller) {
  for (const unsigned threads : {1u, 4u}) {
    EXPECT_THROW(ShareWork(64, threads,
                           [](std::size_t i) -> bool {
                             if (i == 37) throw std::runtime_error("item 37");
                             return true;
                           }),
                 std::runtime_error)
        << threads << " threads";
  }
}

}  // namespace
}  // namespace tarnvale
