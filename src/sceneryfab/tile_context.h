// What the parts of one generated tile share: where the tile lies, how its
// identifiers are numbered over the whole world, and its single random
// source. Every part draws from that source, so the order in which a tile's
// parts are made fixes the bytes a seed gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "sceneryfab/model.h"
#include "sceneryfab/preset_plan.h"
#include "sceneryfab/random.h"

namespace tarnvale::fab {

double Radians(double degrees);
// `heading` brought into [0, 360).
double WrapHeading(double heading);

// The point `metres` from `from` on true course `course` (flat earth, good
// enough over the few tens of kilometres an airport or airspace spans).
Position Offset(const Position& from, double course, double metres);

// The `index`-th code of `length` letters; distinct for indices below
// 26^length, scattered over the alphabet by a multiplier prime to 26.
std::string LetterCode(std::uint64_t index, int length, std::uint64_t salt);

template <typename T, std::size_t N>
const T& Pick(Random& random, const T (&items)[N]) {
  return items[random.Below(N)];
}

// A made-up place name such as "Halenford".
std::string PlaceName(Random& random);

// Frequencies in Hz on 50 kHz channels.
inline std::uint32_t ChannelHz(std::uint32_t hundredths_mhz) { return hundredths_mhz * 10000u; }

// A half-open range of item numbers.
struct Range {
  std::uint64_t first = 0;
  std::uint64_t end = 0;
  std::size_t Size() const { return static_cast<std::size_t>(end - first); }
};

// Salts that keep the identifier codes of different kinds apart.
enum class CodeKind : std::uint64_t { Airport = 1, Ils, Vor, Ndb, Intersection };

// The tile's box in degrees and its two-character region code.
struct TileFrame {
  double south = 0.0, north = 0.0, west = 0.0, east = 0.0;
  std::string region;

  // A point of the box, kept `margin` degrees (at most a quarter of the box)
  // from its edges.
  Position RandomPoint(Random& random, double margin = 0.0) const;
};

class TileContext {
 public:
  TileContext(const PresetPlan& plan, std::size_t index, std::uint64_t seed);

  const PresetPlan& Plan() const { return plan_; }
  const TileFrame& Frame() const { return frame_; }
  // The tile's random source.
  Random& Draws() { return random_; }

  // The tile's part of `total` items spread evenly over the plan's tiles;
  // tiles beyond the plan continue the count.
  Range Share(std::size_t total) const;
  // The code of item `number` of `kind`, unique over the whole world.
  std::string Code(CodeKind kind, std::uint64_t number, int length) const;

 private:
  const PresetPlan& plan_;
  std::size_t index_;
  std::uint64_t seed_;
  TileFrame frame_;
  Random random_;
};

}  // namespace tarnvale::fab
