// Truncation toward zero and the conversions into and out of the navigation
// database's units.
#include "scenery/units.h"

#include <cmath>
#include <limits>

namespace tarnvale {

namespace {

constexpr double kTwoTo63 = 9223372036854775808.0;
constexpr double kLatitudeUnitsPer90Degrees = 10001750.0;
constexpr double kLongitudeUnitsPerCircle = 4294967296.0;

}  // namespace

std::int64_t TruncateToInt64(double value) {
  if (std::isnan(value)) return 0;
  if (value >= kTwoTo63) return std::numeric_limits<std::int64_t>::max();
  if (value < -kTwoTo63) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(value);
}

std::int32_t TruncateToInt32(double value) {
  const std::int64_t whole = TruncateToInt64(value);
  if (whole > std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  if (whole < std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(whole);
}

std::int32_t TruncateLow32(double value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(TruncateToInt64(value)));
}

std::int16_t TruncateLow16(double value) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(TruncateToInt64(value)));
}

std::int32_t LatitudeToUnits(double degrees) {
  return TruncateLow32((degrees / 90.0) * kLatitudeUnitsPer90Degrees);
}

std::int32_t LongitudeToUnits(double degrees) {
  return TruncateLow32((degrees / 360.0) * kLongitudeUnitsPerCircle);
}

std::int32_t MetresToFeet(double metres) { return TruncateToInt32(metres / kMetresPerFoot); }

double LatitudeUnitsToDegrees(std::int32_t latitude) {
  return latitude * 90.0 / kLatitudeUnitsPer90Degrees;
}

double LongitudeUnitsToDegrees(std::int32_t longitude) {
  return longitude * 360.0 / kLongitudeUnitsPerCircle;
}

}  // namespace tarnvale
