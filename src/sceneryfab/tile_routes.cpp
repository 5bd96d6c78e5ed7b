// The navigation chain of a tile: intersections and the airways through them.
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "sceneryfab/tile_parts.h"

namespace tarnvale::fab {
namespace {

// The nearest of `fixes` ahead of fix `from` within 70 degrees of `course`
// that the airway has not visited, or `from` itself when there is none.
std::size_t NextAhead(const std::vector<Intersection>& fixes, std::size_t from, double course,
                      const std::vector<bool>& visited) {
  const double kCosine70 = std::cos(Radians(70.0));
  const Position& origin = fixes[from].position;
  const double shrink = std::cos(Radians(origin.latitude));
  const double ahead_north = std::cos(Radians(course));
  const double ahead_east = std::sin(Radians(course));
  std::size_t best = from;
  double best_distance = 1e300;
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    if (visited[i]) continue;
    const double north = fixes[i].position.latitude - origin.latitude;
    const double east = (fixes[i].position.longitude - origin.longitude) * shrink;
    const double distance = north * north + east * east;
    const double along = north * ahead_north + east * ahead_east;
    if (along > 0.0 && along * along > kCosine70 * kCosine70 * distance &&
        distance < best_distance) {
      best = i;
      best_distance = distance;
    }
  }
  return best;
}

Airway MakeAirway(Random& random, const std::vector<Intersection>& fixes, std::uint64_t number,
                  std::size_t start) {
  static constexpr RouteLevel kLevels[] = {RouteLevel::Victor, RouteLevel::Victor, RouteLevel::Jet,
                                           RouteLevel::Both};
  static constexpr const char* kPrefixes[] = {"V", "V", "J", "T"};
  const std::size_t kind = random.Below(std::size(kLevels));
  const bool high = kLevels[kind] != RouteLevel::Victor;
  Airway airway;
  airway.level = kLevels[kind];
  airway.name = kPrefixes[kind] + std::to_string(number % 999 + 1);
  std::vector<bool> visited(fixes.size(), false);
  const double course = random.Between(0.0, 360.0);
  const std::size_t length = 4 + static_cast<std::size_t>(random.Below(11));
  std::size_t at = start;
  for (std::size_t k = 0; k < length; ++k) {
    visited[at] = true;
    const Intersection& fix = fixes[at];
    const double altitude =
        k == 0 ? 0.0 : std::floor(high ? random.Between(5500, 11000) : random.Between(600, 5000));
    airway.points.push_back(AirwayPoint{fix.ident, fix.region, altitude});
    const std::size_t next = NextAhead(fixes, at, course, visited);
    if (next == at) break;
    at = next;
  }
  return airway;
}

// Half the time a point that one of `airways` passes, else any of `fixes`.
std::size_t PickStart(Random& random, const std::vector<Intersection>& fixes,
                      const std::vector<Airway>& airways) {
  std::size_t start = random.Below(fixes.size());
  if (!airways.empty() && random.Chance(0.5)) {
    const Airway& earlier = airways[random.Below(airways.size())];
    const std::string& ident = earlier.points[random.Below(earlier.points.size())].ident.text;
    for (std::size_t i = 0; i < fixes.size(); ++i) {
      if (fixes[i].ident.text == ident) start = i;
    }
  }
  return start;
}

}  // namespace

void AddIntersections(TileContext& tile, std::vector<Intersection>& intersections) {
  const Range share = tile.Share(tile.Plan().intersections);
  for (std::uint64_t n = share.first; n < share.end; ++n) {
    Intersection intersection;
    intersection.ident = tile.Code(CodeKind::Intersection, n, 5);
    intersection.region = tile.Frame().region;
    intersection.position = tile.Frame().RandomPoint(tile.Draws());
    intersections.push_back(std::move(intersection));
  }
}

// Airways start half the time at an intersection an earlier airway passes,
// so that routes cross and share points.
void AddAirways(TileContext& tile, const std::vector<Intersection>& intersections,
                std::vector<Airway>& airways) {
  if (intersections.size() < 2) return;
  const Range share = tile.Share(tile.Plan().airways);
  for (std::uint64_t n = share.first; n < share.end; ++n) {
    const std::size_t start = PickStart(tile.Draws(), intersections, airways);
    Airway airway = MakeAirway(tile.Draws(), intersections, n, start);
    if (airway.points.size() >= 2) airways.push_back(std::move(airway));
  }
}

}  // namespace tarnvale::fab
