// The navigation database's units and the one safe float-to-integer
// truncation that every conversion into them goes through.
//
// Database units: latitude = degrees x 10001750 / 90, longitude = degrees x
// 2^32 / 360, lengths and altitudes in whole feet. Every conversion to an
// integer truncates toward zero. The decoders and the spherical-earth
// helpers both build on these, so they live below either.
#pragma once

#include <cstdint>

namespace tarnvale {

// --- Truncation toward zero --------------------------------------------------

// Truncates toward zero. NaN gives 0; values beyond the 64-bit range saturate.
std::int64_t TruncateToInt64(double value);
// Truncates toward zero, saturating at the 32-bit range (NaN gives 0).
std::int32_t TruncateToInt32(double value);
// Truncates toward zero to 64 bits and keeps the low 32 bits (two's
// complement), so 2^31 reads as -2^31: the same meridian as -180 degrees.
std::int32_t TruncateLow32(double value);
// Truncates toward zero to 64 bits and keeps the low 16 bits (headings and
// bearings).
std::int16_t TruncateLow16(double value);

// --- Database units ------------------------------------------------------------

// trunc((degrees / 90) x 10001750), low 32 bits.
std::int32_t LatitudeToUnits(double degrees);
// trunc((degrees / 360) x 4294967296), low 32 bits: +180 gives -2^31.
std::int32_t LongitudeToUnits(double degrees);
// trunc(metres / 0.3048), saturating.
std::int32_t MetresToFeet(double metres);
inline constexpr double kMetresPerFoot = 0.3048;

// Database units back to degrees: units x 90 / 10001750 and units x 360 /
// 2^32, multiplication first.
double LatitudeUnitsToDegrees(std::int32_t latitude);
double LongitudeUnitsToDegrees(std::int32_t longitude);

}  // namespace tarnvale
