// Tests of record memory: blocks apart and aligned, memory given back, freed large blocks reused,
// and arrays that behave like vectors.

#include "scenery/record_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <utility>
#include <vector>

namespace tarnvale {
namespace {

// Blocks of every size class stay apart, keep what was written into them and
// are aligned for any record; once all are freed, one by one or as a whole
// release, the memory goes back to the system.
TEST(RecordMemory, BlocksStayApartAndAllMemoryReturnsWhenTheLastIsFreed) {
  for (const bool whole : {false, true}) {
    SCOPED_TRACE(whole ? "whole release" : "one by one");
    const std::size_t before = record_memory::ReservedBytes();
    std::mt19937 random(3);
    std::vector<std::pair<std::uint8_t*, std::size_t>> blocks;
    for (int i = 0; i < 3000; ++i) {
      // Mostly small arrays, now and then one large enough for its own mapping.
      const std::size_t bytes = i % 500 == 0 ? (1u << 20) + random() % (3u << 20) : random() % 4000;
      auto* block = static_cast<std::uint8_t*>(record_memory::Allocate(bytes));
      ASSERT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u);
      std::memset(block, i & 0xFF, bytes);
      blocks.emplace_back(block, bytes);
    }
    EXPECT_GT(record_memory::ReservedBytes(), before);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
      const auto [block, bytes] = blocks[i];
      for (std::size_t b = 0; b < bytes; b += 97) ASSERT_EQ(block[b], i & 0xFF) << "block " << i;
    }
    {
      std::optional<record_memory::WholeRelease> release;
      if (whole) release.emplace();
      for (const auto& [block, bytes] : blocks) record_memory::Deallocate(block, bytes);
    }
    EXPECT_EQ(record_memory::ReservedBytes(), before);
    // Freed blocks counted off at the end of a whole release leave the
    // count right for the blocks that follow.
    void* next = record_memory::Allocate(64);
    EXPECT_GT(record_memory::ReservedBytes(), before);
    record_memory::Deallocate(next, 64);
    EXPECT_EQ(record_memory::ReservedBytes(), before);
  }
}

// A growing array leaves its old block behind; the next large block takes
// it over, pages and all, instead of a fresh mapping.
TEST(RecordMemory, AFreedLargeBlockServesTheNextOne) {
  const std::size_t before = record_memory::ReservedBytes();
  void* keeper = record_memory::Allocate(1 << 20);
  void* old_block = record_memory::Allocate(3 << 20);
  record_memory::Deallocate(old_block, 3 << 20);
  void* new_block = record_memory::Allocate((3 << 20) - 4096);
  EXPECT_EQ(new_block, old_block);
  record_memory::Deallocate(new_block, (3 << 20) - 4096);
  record_memory::Deallocate(keeper, 1 << 20);
  EXPECT_EQ(record_memory::ReservedBytes(), before);
}

TEST(RecordMemory, RecordArraysGrowAndCompareLikeVectors) {
  RecordArray<std::uint32_t> numbers;
  for (std::uint32_t i = 0; i < 200000; ++i) numbers.push_back(i);  // through several size classes
  RecordArray<std::uint32_t> copy = numbers;
  EXPECT_EQ(copy, numbers);
  EXPECT_EQ(copy[199999], 199999u);
  EXPECT_THROW(numbers.reserve(numbers.max_size()), std::bad_alloc);
}

}  // namespace
}  // namespace tarnvale
