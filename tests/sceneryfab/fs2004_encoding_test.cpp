// Tests of the FS2004 value encodings: idents and regions, position words over their whole range,
// altitudes, and singles.

#include "sceneryfab/fs2004_encoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace tarnvale::fab {
namespace {

TEST(Fs2004Encoding, PacksIdentsBase38LastCharacterLowest) {
  struct Case {
    const char* text;
    std::uint32_t packed;
  };
  for (const Case& c : {Case{"", 0}, Case{" ", 1}, Case{"0", 2}, Case{"9", 11}, Case{"A", 12},
                        Case{"Z", 37}, Case{"KJFK", 22 + 38 * (17 + 38 * (21 + 38 * 22))},
                        Case{"A B", (12 * 38 + 1) * 38 + 13}, Case{"ZZZZZ", 79235167}}) {
    EXPECT_EQ(PackIdent(c.text), c.packed) << c.text;
  }
}

TEST(Fs2004Encoding, RejectsIdentsTheFieldCannotHold) {
  for (const char* text : {"ABCDEF", "kjfk", "A-B", "\xC4"}) {
    EXPECT_THROW(PackIdent(text), std::invalid_argument) << text;
  }
  EXPECT_THROW(Fs2004RegionWord(Ident("ABC")), std::invalid_argument);
}

TEST(Fs2004Encoding, PlacesIdentAndRegionBitsOrRawWords) {
  EXPECT_EQ(Fs2004IdentWord(Ident("KJFK")), PackIdent("KJFK") << 5);
  EXPECT_EQ(Fs2004UnshiftedIdentWord(Ident("IJFK")), PackIdent("IJFK"));
  EXPECT_EQ(Fs2004RegionWord(Ident("K6")), PackIdent("K6"));
  EXPECT_LE(Fs2004RegionWord(Ident("ZZ")), 0x7FFu);
  EXPECT_EQ(Fs2004IdentWord(Ident::FromWord(31)), 31u);
  EXPECT_EQ(Fs2004UnshiftedIdentWord(Ident::FromWord(0xDEADBEEF)), 0xDEADBEEFu);
  EXPECT_EQ(Fs2004RegionWord(Ident::FromWord(0xFFFFF800)), 0xFFFFF800u);
}

TEST(Fs2004Encoding, PositionWordsCoverTheirWholeRange) {
  EXPECT_EQ(EncodeFs2004Latitude(90.0), 0u);
  EXPECT_EQ(EncodeFs2004Latitude(-90.0), 536870911u);
  EXPECT_EQ(EncodeFs2004Latitude(0.0), 268435456u);  // 268435455.5 rounds up
  EXPECT_EQ(EncodeFs2004Longitude(-180.0), 0u);
  EXPECT_EQ(EncodeFs2004Longitude(180.0), 805306367u);
  EXPECT_EQ(EncodeFs2004Latitude(95.0), 0u);  // held inside the range
  EXPECT_EQ(EncodeFs2004Longitude(-181.0), 0u);
  EXPECT_THROW(EncodeFs2004Latitude(std::numeric_limits<double>::quiet_NaN()),
               std::invalid_argument);
}

TEST(Fs2004Encoding, PositionWordsRoundTripBothWays) {
  for (std::uint32_t raw : {0u, 1u, 12345678u, 268435455u, 536870910u, 536870911u}) {
    EXPECT_EQ(EncodeFs2004Latitude(Fs2004LatitudeOfWord(raw)), raw);
  }
  for (std::uint32_t raw : {0u, 1u, 402653183u, 402653184u, 805306366u, 805306367u}) {
    EXPECT_EQ(EncodeFs2004Longitude(Fs2004LongitudeOfWord(raw)), raw);
  }
  // Any position decodes to within half a step of itself.
  const double latitude_step = 180.0 / 536870911.0;
  const double longitude_step = 360.0 / 805306367.0;
  for (double degrees : {-89.999, -45.123456789, 0.0000001, 51.4775, 89.5}) {
    EXPECT_NEAR(Fs2004LatitudeOfWord(EncodeFs2004Latitude(degrees)), degrees,
                latitude_step / 2 + 1e-12);
    EXPECT_NEAR(Fs2004LongitudeOfWord(EncodeFs2004Longitude(degrees * 2)), degrees * 2,
                longitude_step / 2 + 1e-12);
  }
}

TEST(Fs2004Encoding, AltitudesAreWholeMillimetres) {
  EXPECT_EQ(EncodeFs2004Altitude(1000.0), 1000000);
  EXPECT_EQ(EncodeFs2004Altitude(-30.0), -30000);
  EXPECT_EQ(EncodeFs2004Altitude(0.0004), 0);
  EXPECT_EQ(EncodeFs2004Altitude(12.3456), 12346);
  EXPECT_EQ(EncodeFs2004Altitude(1e12), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(EncodeFs2004Altitude(-1e12), std::numeric_limits<std::int32_t>::min());
}

TEST(Single, HoldsTheIeeeBitsOfItsValue) {
  EXPECT_EQ(Single(100.0).Bits(), 0x42C80000u);
  EXPECT_EQ(Single(-100.0).Bits(), 0xC2C80000u);
  EXPECT_EQ(Single(1.5).Bits(), 0x3FC00000u);
  EXPECT_EQ(Single(1e300).Bits(), 0x7F800000u);  // saturates instead of undefined conversion
  EXPECT_EQ(Single(-1e300).Bits(), 0xFF800000u);
  EXPECT_TRUE(std::isnan(Single(std::numeric_limits<double>::quiet_NaN()).Value()));
  EXPECT_EQ(Single::FromBits(0x3FC00000).Value(), 1.5);
  EXPECT_EQ(Single(359.7).Value(), static_cast<double>(359.7f));
}

}  // namespace
}  // namespace tarnvale::fab
