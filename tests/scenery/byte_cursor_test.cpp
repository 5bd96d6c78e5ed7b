// Tests of the byte cursor: little-endian values, reads outside the window, and slices.

#include "scenery/byte_cursor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace tarnvale {
namespace {

const std::vector<std::uint8_t> kBytes = {0x01, 0x02, 0x03, 0x04, 0xFF, 0xFE, 0x92, 0x19};

TEST(ByteCursor, ReadsLittleEndianValues) {
  ByteCursor cursor(kBytes);
  EXPECT_EQ(cursor.U8(0), 0x01);
  EXPECT_EQ(cursor.U16(6), 0x1992);
  EXPECT_EQ(cursor.U32(0), 0x04030201u);
  EXPECT_EQ(cursor.I16(4), -257);
  EXPECT_EQ(cursor.I32(4), static_cast<std::int32_t>(0x1992FEFF));
  EXPECT_EQ(cursor.Chars(0, 2), std::string_view("\x01\x02", 2));
  EXPECT_FALSE(cursor.Overrun());
}

TEST(ByteCursor, ReadsOutsideTheWindowGiveZeroAndMarkOverrun) {
  constexpr std::size_t kHuge = std::numeric_limits<std::size_t>::max();
  struct Case {
    const char* name;
    std::size_t offset;
  };
  for (const Case& c :
       {Case{"last partial word", 6}, Case{"at the end", 8}, Case{"far", kHuge - 1}}) {
    ByteCursor cursor(kBytes);
    EXPECT_EQ(cursor.U32(c.offset), 0u) << c.name;
    EXPECT_TRUE(cursor.Overrun()) << c.name;
  }
  ByteCursor cursor(kBytes);
  EXPECT_TRUE(cursor.Chars(7, 2).empty());
  EXPECT_TRUE(cursor.Overrun());
}

TEST(ByteCursor, SlicesStayInsideTheirParent) {
  ByteCursor cursor(kBytes);
  ByteCursor middle = cursor.Slice(2, 4);
  EXPECT_EQ(middle.Size(), 4u);
  EXPECT_EQ(middle.U16(0), 0x0403);
  EXPECT_EQ(middle.U16(3), 0);  // would reach the parent's byte 6
  EXPECT_TRUE(middle.Overrun());
  EXPECT_FALSE(cursor.Overrun());

  ByteCursor outside = cursor.Slice(6, std::numeric_limits<std::size_t>::max());
  EXPECT_EQ(outside.Size(), 0u);
  EXPECT_TRUE(outside.Overrun());
  EXPECT_TRUE(cursor.Overrun());

  ByteCursor tail = ByteCursor(kBytes).From(6);
  EXPECT_EQ(tail.U16(0), 0x1992);
  EXPECT_TRUE(ByteCursor(kBytes).From(9).Overrun());
  EXPECT_FALSE(ByteCursor(kBytes).From(8).Overrun());
}

}  // namespace
}  // namespace tarnvale
