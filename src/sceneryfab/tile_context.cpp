// Where a tile lies in the preset's grid, random points and offsets within it, and the identifiers
// and place names its parts draw.

#include "sceneryfab/tile_context.h"

#include <algorithm>
#include <cmath>

namespace tarnvale::fab {
namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kMetresPerDegree = 111320.0;

double WrapLongitude(double longitude) {
  if (longitude >= 180.0) return longitude - 360.0;
  if (longitude < -180.0) return longitude + 360.0;
  return longitude;
}

// Tiles lie in a grid over the plan's box, row by row from the south-west;
// indices past the grid start it again.
TileFrame FrameOf(const PresetPlan& plan, std::size_t index) {
  const double width = plan.east - plan.west;
  const double height = plan.north - plan.south;
  const auto columns = static_cast<std::size_t>(
      std::max(1.0, std::ceil(std::sqrt(static_cast<double>(plan.tiles) * width / height))));
  const std::size_t rows = (plan.tiles + columns - 1) / columns;
  const std::size_t cell = index % (rows * columns);
  TileFrame frame;
  frame.south =
      plan.south + height * static_cast<double>(cell / columns) / static_cast<double>(rows);
  frame.north = frame.south + height / static_cast<double>(rows);
  frame.west =
      plan.west + width * static_cast<double>(cell % columns) / static_cast<double>(columns);
  frame.east = frame.west + width / static_cast<double>(columns);
  static constexpr char kSecond[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  frame.region = {static_cast<char>('A' + index / 36 % 26), kSecond[index % 36]};
  return frame;
}

}  // namespace

double Radians(double degrees) { return degrees * kPi / 180.0; }

double WrapHeading(double heading) { return heading - 360.0 * std::floor(heading / 360.0); }

Position Offset(const Position& from, double course, double metres) {
  const double north = metres * std::cos(Radians(course));
  const double east = metres * std::sin(Radians(course));
  return {
      from.latitude + north / kMetresPerDegree,
      WrapLongitude(from.longitude + east / (kMetresPerDegree * std::cos(Radians(from.latitude))))};
}

std::string LetterCode(std::uint64_t index, int length, std::uint64_t salt) {
  std::uint64_t space = 1;
  for (int i = 0; i < length; ++i) space *= 26;
  std::uint64_t value = (index % space * 7919 + salt) % space;
  std::string code(static_cast<std::size_t>(length), 'A');
  for (int i = length - 1; i >= 0; --i) {
    code[static_cast<std::size_t>(i)] = static_cast<char>('A' + value % 26);
    value /= 26;
  }
  return code;
}

std::string PlaceName(Random& random) {
  static constexpr const char* kStarts[] = {"Bel", "Cor", "Dun", "Esk", "Fal", "Gra", "Hal",
                                            "Ker", "Lin", "Mar", "Nor", "Ost", "Pel", "Ros",
                                            "Sal", "Tor", "Val", "Wes", "Yar", "Zan"};
  static constexpr const char* kMiddles[] = {"", "a", "e", "i", "o", "an", "en", "ar", "or", "il"};
  static constexpr const char* kEnds[] = {"by",   "dale", "ford", "ham",   "mouth", "ton",  "vik",
                                          "wick", "stad", "burg", "field", "port",  "mere", "holt"};
  return std::string(Pick(random, kStarts)) + Pick(random, kMiddles) + Pick(random, kEnds);
}

Position TileFrame::RandomPoint(Random& random, double margin) const {
  const double lat_margin = std::min(margin, (north - south) / 4);
  const double lon_margin = std::min(margin, (east - west) / 4);
  return {random.Between(south + lat_margin, north - lat_margin),
          random.Between(west + lon_margin, east - lon_margin)};
}

TileContext::TileContext(const PresetPlan& plan, std::size_t index, std::uint64_t seed)
    : plan_(plan),
      index_(index),
      seed_(seed),
      frame_(FrameOf(plan, index)),
      random_(DeriveSeed(seed, index)) {}

Range TileContext::Share(std::size_t total) const {
  return {static_cast<std::uint64_t>(total) * index_ / plan_.tiles,
          static_cast<std::uint64_t>(total) * (index_ + 1) / plan_.tiles};
}

std::string TileContext::Code(CodeKind kind, std::uint64_t number, int length) const {
  return LetterCode(number, length, DeriveSeed(seed_, ~static_cast<std::uint64_t>(kind)));
}

}  // namespace tarnvale::fab
