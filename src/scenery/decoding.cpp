// Scenery values turned into database units: positions, altitudes, packed idents, floats, BCD
// frequencies, headings and runway ends.

#include "scenery/decoding.h"

#include "platform/ascii_text.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace tarnvale {

namespace {

// The runway end-point computation's own degree factor and earth girth.
constexpr double kRunwayRadiansPerDegree = 0.017453292519943278;
constexpr double kRunwayEarthCircumferenceMetres = 40007000.0;

constexpr char kIdentAlphabet[] = "  0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::uint32_t kIdentBase = 38;
constexpr std::size_t kIdentMaxCharacters = 5;

double WrapLongitudeOnce(double degrees) {
  if (degrees > 180.0) return degrees - 360.0;
  if (degrees < -180.0) return degrees + 360.0;
  return degrees;
}

}  // namespace

double Fs2004Longitude(std::uint32_t raw) {
  return static_cast<double>(raw) * 360.0 / 805306367.0 - 180.0;
}

double Fs2004Latitude(std::uint32_t raw) {
  return 90.0 - static_cast<double>(raw) * 180.0 / 536870911.0;
}

double Fs2004AltitudeMetres(std::int32_t raw) { return static_cast<double>(raw) * 0.001; }

double Fs2002Latitude(std::int32_t raw) { return raw * kFs2002LatitudeDegreesPerUnit; }

double Fs2002Longitude(std::int32_t raw) { return raw * kFs2002LongitudeDegreesPerUnit; }

FixedText<6> DecodeIdent(std::uint32_t packed) {
  // The least significant base-38 digit is the last character.
  char reversed[kIdentMaxCharacters];
  std::size_t count = 0;
  while (count < kIdentMaxCharacters && packed != 0) {
    reversed[count++] = kIdentAlphabet[packed % kIdentBase];
    packed /= kIdentBase;
  }
  FixedText<6> text{};
  for (std::size_t i = 0; i < count; ++i) text[i] = reversed[count - 1 - i];
  // Digits 0 and 1 stand for blanks.
  if (count != 0 && (platform::IsBlank(text[0]) || platform::IsBlank(text[count - 1]))) {
    TrimBlanks(text);
  }
  return text;
}

std::string_view TextUpToNul(const ByteCursor& bytes, std::size_t offset, std::size_t count) {
  const std::string_view chars = bytes.Chars(offset, count);
  return chars.substr(0, chars.find('\0'));
}

void TrimBlanks(std::span<char> field) {
  const auto end = std::find(field.begin(), field.end(), '\0');
  if (end == field.begin()) return;
  if (!platform::IsBlank(field.front()) && !platform::IsBlank(*(end - 1))) {
    std::fill(end, field.end(), '\0');  // nothing to trim, as for most texts
    return;
  }
  const std::string_view text(field.data(), end - field.begin());
  if (platform::IsBlanksOnly(text)) return;  // left as it is
  const std::string_view kept = platform::TrimmedBlanks(text);
  const auto kept_end = std::copy(kept.begin(), kept.end(), field.begin());
  std::fill(kept_end, field.end(), '\0');
}

double DecodeFloat(std::uint32_t bits) { return static_cast<double>(std::bit_cast<float>(bits)); }

std::int16_t NormalizeHeading(std::int16_t degrees) {
  if (degrees > 360) return static_cast<std::int16_t>(degrees - 360);
  if (degrees < 0) return static_cast<std::int16_t>(degrees + 360);
  return degrees;
}

std::uint32_t BcdToDecimal(std::uint32_t packed) {
  std::uint32_t result = 0;
  for (int digit = 0; digit < 8; ++digit) {
    packed = std::rotl(packed, 4);
    result = result * 10 + (packed & 0xF);
  }
  return result;
}

RunwayEnds ComputeRunwayEnds(double latitude, double longitude, std::int16_t heading,
                             std::uint32_t length_metres) {
  const std::uint32_t shortened = length_metres > 300 ? length_metres - 60 : length_metres;
  const double length = static_cast<double>(shortened);
  const double north = length * std::cos(heading * kRunwayRadiansPerDegree);
  const double east = length * std::sin(heading * kRunwayRadiansPerDegree);
  const double half_north_degrees = north * 360.0 * 0.5 / kRunwayEarthCircumferenceMetres;
  const double half_east_degrees =
      east * 360.0 * 0.5 /
      (std::cos(latitude * kRunwayRadiansPerDegree) * kRunwayEarthCircumferenceMetres);
  const auto to_units = [](double lat, double lon) {
    return GeoPoint{LatitudeToUnits(lat), LongitudeToUnits(WrapLongitudeOnce(lon))};
  };
  return RunwayEnds{to_units(latitude - half_north_degrees, longitude - half_east_degrees),
                    to_units(latitude + half_north_degrees, longitude + half_east_degrees)};
}

}  // namespace tarnvale
