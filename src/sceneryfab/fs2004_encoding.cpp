// The FS2004 value encodings: base-38 idents and regions, position words and altitudes, each with
// the loader's decoding as its exact inverse.

#include "sceneryfab/fs2004_encoding.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace tarnvale::fab {

namespace {

constexpr double kLongitudeSteps = 805306367.0;  // raw word of +180 degrees
constexpr double kLatitudeSteps = 536870911.0;   // raw word of -90 degrees

std::uint32_t IdentDigit(char c) {
  if (c == ' ') return 1;
  if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c - '0') + 2;
  if (c >= 'A' && c <= 'Z') return static_cast<std::uint32_t>(c - 'A') + 12;
  throw std::invalid_argument(std::string("identifier character not in blank, 0-9, A-Z: '") + c +
                              "'");
}

// Rounds `value` to the nearest whole number inside [0, top].
std::uint32_t RoundedWord(double value, double top, const char* what) {
  if (std::isnan(value)) throw std::invalid_argument(std::string(what) + " is not a number");
  if (value < 0.0) value = 0.0;
  if (value > top) value = top;
  return static_cast<std::uint32_t>(std::llround(value));
}

}  // namespace

std::uint32_t PackIdent(std::string_view text) {
  if (text.size() > 5) {
    throw std::invalid_argument("identifier longer than 5 characters: '" + std::string(text) + "'");
  }
  std::uint32_t packed = 0;
  for (char c : text) packed = packed * 38 + IdentDigit(c);
  return packed;
}

std::uint32_t Fs2004IdentWord(const Ident& ident) {
  return ident.word ? *ident.word : PackIdent(ident.text) << 5;
}

std::uint32_t Fs2004UnshiftedIdentWord(const Ident& ident) {
  return ident.word ? *ident.word : PackIdent(ident.text);
}

std::uint32_t Fs2004RegionWord(const Ident& region) {
  if (region.word) return *region.word;
  if (region.text.size() > 2) {
    throw std::invalid_argument("region code longer than 2 characters: '" + region.text + "'");
  }
  return PackIdent(region.text);
}

std::uint32_t EncodeFs2004Longitude(double degrees) {
  return RoundedWord((degrees + 180.0) * kLongitudeSteps / 360.0, kLongitudeSteps, "longitude");
}

std::uint32_t EncodeFs2004Latitude(double degrees) {
  return RoundedWord((90.0 - degrees) * kLatitudeSteps / 180.0, kLatitudeSteps, "latitude");
}

std::int32_t EncodeFs2004Altitude(double metres) {
  if (std::isnan(metres)) throw std::invalid_argument("altitude is not a number");
  const double millimetres = std::round(metres * 1000.0);
  if (millimetres >= 2147483647.0) return 2147483647;
  if (millimetres <= -2147483648.0) return -2147483647 - 1;
  return static_cast<std::int32_t>(millimetres);
}

double Fs2004LongitudeOfWord(std::uint32_t raw) { return raw * 360.0 / kLongitudeSteps - 180.0; }

double Fs2004LatitudeOfWord(std::uint32_t raw) { return 90.0 - raw * 180.0 / kLatitudeSteps; }

}  // namespace tarnvale::fab
