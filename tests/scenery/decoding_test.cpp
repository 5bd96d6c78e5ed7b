// Tests of the value decodings: idents, trimming, FS2004 positions, truncation of any double,
// floats, headings, BCD and runway ends.

#include "scenery/decoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace tarnvale {
namespace {

constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Packs characters of the ident alphabet, most significant first.
std::uint32_t PackIdent(std::initializer_list<std::uint32_t> codes) {
  std::uint32_t value = 0;
  for (std::uint32_t code : codes) value = value * 38 + code;
  return value;
}

TEST(DecodeIdent, TurnsBase38IntoText) {
  struct Case {
    std::uint32_t packed;
    std::string text;
  };
  const Case cases[] = {
      {0, ""},
      {22 + 38 * (17 + 38 * (21 + 38 * 22)), "KJFK"},
      {1, " "},                                        // blanks only: not trimmed
      {PackIdent({12, 1, 13}), "A B"},                 // inner blank stays
      {PackIdent({1, 12, 13, 0}), "AB"},               // outer blanks trimmed
      {PackIdent({2, 11}), "09"},                      // digits
      {PackIdent({13, 12, 13, 14, 15, 16}), "ABCDE"},  // six digits: the last five
      {0xFFFFFFFF, "5SG13"},
  };
  for (const Case& c : cases) {
    const FixedText<6> text = DecodeIdent(c.packed);
    EXPECT_EQ(TextOf(text), c.text) << c.packed;
    EXPECT_EQ(text[5], '\0') << c.packed;
    for (std::size_t i = c.text.size(); i < text.size(); ++i) EXPECT_EQ(text[i], '\0') << c.packed;
  }
}

TEST(TrimBlanks, TrimsBothEndsAndZeroesBehindTheNewEnd) {
  struct Case {
    std::string before;  // the field's bytes (size 9)
    std::string after;
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {"  AB\t \0\0\0"s, "AB\0\0\0\0\0\0\0"s},
      {"V12     "s + '\0', "V12\0\0\0\0\0\0"s},
      {"\0\0\0\0\0\0\0\0\0"s, "\0\0\0\0\0\0\0\0\0"s},
      {"   \0\0\0\0\0\0"s, "   \0\0\0\0\0\0"s},  // blanks only: unchanged
      {"A B\0\0\0\0\0\0"s, "A B\0\0\0\0\0\0"s},
      {" ABCDEFGH"s, "ABCDEFGH\0"s},               // no terminator in the field
      {"X\0 Y\0\0\0\0\0"s, "X\0\0\0\0\0\0\0\0"s},  // bytes behind the first NUL cleared
  };
  for (const Case& c : cases) {
    FixedText<9> field{};
    for (std::size_t i = 0; i < field.size(); ++i) field[i] = c.before[i];
    TrimBlanks(field);
    EXPECT_EQ(std::string(field.data(), field.size()), c.after) << c.before;
  }
}

TEST(Fs2004Values, DecodeToDegreesAndMetres) {
  EXPECT_DOUBLE_EQ(Fs2004Latitude(0), 90.0);
  EXPECT_DOUBLE_EQ(Fs2004Latitude(536870911), -90.0);
  EXPECT_DOUBLE_EQ(Fs2004Latitude(536870911 / 2), 90.0 - (536870911 / 2) * 180.0 / 536870911);
  EXPECT_DOUBLE_EQ(Fs2004Longitude(0), -180.0);
  EXPECT_DOUBLE_EQ(Fs2004Longitude(805306367), 180.0);
  EXPECT_DOUBLE_EQ(Fs2004AltitudeMetres(-30000), -30.0);
  EXPECT_DOUBLE_EQ(Fs2004AltitudeMetres(1000000), 1000.0);
}

TEST(Units, TruncateTowardZero) {
  struct Case {
    const char* what;
    std::int32_t actual;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"latitude 90", LatitudeToUnits(90.0), 10001750},
      {"latitude -90", LatitudeToUnits(-90.0), -10001750},
      {"latitude 10", LatitudeToUnits(10.0), 1111305},
      {"latitude -10", LatitudeToUnits(-10.0), -1111305},
      {"longitude 20", LongitudeToUnits(20.0), 238609294},
      {"longitude -180", LongitudeToUnits(-180.0), kInt32Min},
      {"longitude +180 wraps", LongitudeToUnits(180.0), kInt32Min},
      {"longitude of FS2004 raw max", LongitudeToUnits(Fs2004Longitude(805306367)), kInt32Min},
      {"feet 1000 m", MetresToFeet(1000.0), 3280},
      {"feet -30 m", MetresToFeet(-30.0), -98},
      {"feet 5000 m", MetresToFeet(5000.0), 16404},
      {"feet NaN", MetresToFeet(kNaN), 0},
      {"feet huge", MetresToFeet(1e300), kInt32Max},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.what;
}

TEST(Truncation, IsSafeForEveryDouble) {
  struct Case {
    double value;
    std::int64_t int64;
    std::int32_t int32;
    std::int32_t low32;
    std::int16_t low16;
  };
  constexpr std::int64_t kMax64 = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();
  const Case cases[] = {
      {0.0, 0, 0, 0, 0},
      {-0.9, 0, 0, 0, 0},
      {359.7, 359, 359, 359, 359},
      {-2.5, -2, -2, -2, -2},
      {kNaN, 0, 0, 0, 0},
      {2147483648.0, 2147483648, kInt32Max, kInt32Min, 0},
      {4294967296.0 + 7.5, 4294967303, kInt32Max, 7, 7},
      {65536.0 + 359.2, 65895, 65895, 65895, 359},
      {kInfinity, kMax64, kInt32Max, -1, -1},
      {-kInfinity, kMin64, kInt32Min, 0, 0},
      {1e300, kMax64, kInt32Max, -1, -1},
      {-9223372036854775808.0, kMin64, kInt32Min, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TruncateToInt64(c.value), c.int64) << c.value;
    EXPECT_EQ(TruncateToInt32(c.value), c.int32) << c.value;
    EXPECT_EQ(TruncateLow32(c.value), c.low32) << c.value;
    EXPECT_EQ(TruncateLow16(c.value), c.low16) << c.value;
  }
}

TEST(DecodeFloat, DecodesIeeeSinglesExactly) {
  struct Case {
    std::uint32_t bits;
    double value;
  };
  const Case cases[] = {
      {0x42C80000, 100.0},     {0xC2C80000, -100.0},
      {0x3FC00000, 1.5},  // below 2 is kept
      {0xBFC00000, -1.5},      {0x00000000, 0.0},
      {0x3F000000, 0.5},       {0x43B3D99A, 359.700012207031250},  // 359.7f
      {0x4A1C6C00, 2562816.0},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeFloat(c.bits), c.value) << std::hex << c.bits;
  EXPECT_TRUE(std::isnan(DecodeFloat(0x7FC00000)));
}

TEST(NormalizeHeading, AppliesOneCorrection) {
  const std::pair<std::int16_t, std::int16_t> cases[] = {
      {-90, 270}, {361, 1}, {360, 360}, {0, 0}, {725, 365}, {-400, -40}, {179, 179}, {-180, 180},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(NormalizeHeading(in), out) << in;
}

TEST(BcdToDecimal, ReadsEightDigits) {
  const std::pair<std::uint32_t, std::uint32_t> cases[] = {
      {0x00011370, 11370},    {0x0001A000, 20000}, {0x99999999, 99999999}, {0, 0},
      {0x12800000, 12800000},
  };
  for (const auto& [packed, value] : cases)
    EXPECT_EQ(BcdToDecimal(packed), value) << std::hex << packed;
}

// Metres along the ground between a runway end and the centre, from units.
double EastMetres(std::int32_t longitude_units) {
  return longitude_units / 4294967296.0 * 40007000.0;
}
double NorthMetres(std::int32_t latitude_units) { return latitude_units / 10001750.0 * 10001750.0; }

TEST(RunwayEnds, LieHalfAShortenedLengthFromTheCentre) {
  struct Case {
    std::int16_t heading;
    std::uint32_t length;
    double north;  // metres from the centre to the secondary end
    double east;
  };
  const Case cases[] = {
      {90, 1000, 0, 470},  // 30 m inside each end
      {0, 250, 125, 0},    // short runway: not shortened
      {0, 300, 150, 0},     {0, 301, 120.5, 0},   {0, 2000, 970, 0},
      {180, 2000, -970, 0}, {270, 1000, 0, -470},
  };
  for (const Case& c : cases) {
    const RunwayEnds ends = ComputeRunwayEnds(0.0, 0.0, c.heading, c.length);
    EXPECT_NEAR(NorthMetres(ends.secondary.Latitude), c.north, 1.0) << c.heading << " " << c.length;
    EXPECT_NEAR(EastMetres(ends.secondary.Longitude), c.east, 1.0) << c.heading << " " << c.length;
    EXPECT_NEAR(NorthMetres(ends.primary.Latitude), -c.north, 1.0) << c.heading << " " << c.length;
    EXPECT_NEAR(EastMetres(ends.primary.Longitude), -c.east, 1.0) << c.heading << " " << c.length;
  }
}

TEST(RunwayEnds, WrapAcrossTheDateLine) {
  const RunwayEnds ends = ComputeRunwayEnds(0.0, 179.999, 90, 1000);
  EXPECT_GT(ends.primary.Longitude, 0);
  EXPECT_LT(ends.secondary.Longitude, 0);
  EXPECT_NEAR(EastMetres(ends.secondary.Longitude) + 40007000 / 2.0, 470 - 0.001 * 40007000 / 360,
              1.0);
}

}  // namespace
}  // namespace tarnvale
