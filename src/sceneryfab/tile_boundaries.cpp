// Boundaries of a tile: airspaces drawn as circles, polygons and sectors.
#include <cmath>
#include <vector>

#include "sceneryfab/text.h"
#include "sceneryfab/tile_parts.h"

namespace tarnvale::fab {
namespace {

std::vector<BoundaryPoint> Circle(const Position& centre, double radius) {
  return {BoundaryPoint{BoundaryPointType::Origin, 0, centre, 0.0},
          BoundaryPoint{BoundaryPointType::Circle, 0, centre, std::floor(radius)}};
}

std::vector<BoundaryPoint> Polygon(Random& random, const Position& centre, double radius) {
  const std::size_t corners = 4 + static_cast<std::size_t>(random.Below(5));
  std::vector<BoundaryPoint> points;
  for (std::size_t k = 0; k < corners; ++k) {
    const double course =
        360.0 * static_cast<double>(k) / static_cast<double>(corners) + random.Between(-10.0, 10.0);
    points.push_back(BoundaryPoint{k == 0 ? BoundaryPointType::Start : BoundaryPointType::Line, 0,
                                   Offset(centre, course, radius * random.Between(0.8, 1.3)), 0.0});
  }
  return points;
}

// Two sides of a sector joined by an arc around its apex.
std::vector<BoundaryPoint> PolygonWithArc(Random& random, const Position& centre, double radius) {
  const double from = random.Between(0.0, 360.0);
  const double to = from + random.Between(60.0, 200.0);
  const bool clockwise = random.Chance(0.5);
  const auto arc =
      clockwise ? BoundaryPointType::ArcClockwise : BoundaryPointType::ArcCounterClockwise;
  const Position first = Offset(centre, clockwise ? from : to, radius);
  const Position last = Offset(centre, clockwise ? to : from, radius);
  return {BoundaryPoint{BoundaryPointType::Origin, 0, centre, 0.0},
          BoundaryPoint{BoundaryPointType::Start, 0, centre, 0.0},
          BoundaryPoint{BoundaryPointType::Line, 0, first, 0.0}, BoundaryPoint{arc, 0, last, 0.0},
          BoundaryPoint{BoundaryPointType::Line, 0, centre, 0.0}};
}

void SetCorners(Boundary& boundary, const Position& centre, double reach) {
  const Position north_west = Offset(Offset(centre, 0.0, reach), 270.0, reach);
  const Position south_east = Offset(Offset(centre, 180.0, reach), 90.0, reach);
  boundary.corner_a = north_west;
  boundary.corner_b = south_east;
}

}  // namespace

Boundary MakeBoundary(TileContext& tile) {
  static constexpr BoundaryType kTypes[] = {
      BoundaryType::ClassB,     BoundaryType::ClassC, BoundaryType::ClassD,
      BoundaryType::ClassE,     BoundaryType::Moa,    BoundaryType::Restricted,
      BoundaryType::Prohibited, BoundaryType::Danger, BoundaryType::Warning,
      BoundaryType::Training,   BoundaryType::ModeC,  BoundaryType::Centre,
      BoundaryType::Tower};
  static constexpr const char* kLabels[] = {
      "CLASS B", "CLASS C", "CLASS D",  "CLASS E", "MOA",    "RESTRICTED", "PROHIBITED",
      "DANGER",  "WARNING", "TRAINING", "MODE C",  "CENTER", "TOWER"};
  constexpr std::size_t kAirspaceTypes = 11;
  Random& random = tile.Draws();
  const std::size_t kind =
      random.Chance(0.03) ? kAirspaceTypes + random.Below(2) : random.Below(kAirspaceTypes);
  Boundary boundary;
  boundary.type = kTypes[kind];
  boundary.name = Upper(PlaceName(random)) + " " + kLabels[kind];
  const Position centre = tile.Frame().RandomPoint(random, 0.6);
  const double radius = random.Between(5000.0, 50000.0);
  const double shape = random.Unit();
  boundary.outlines.push_back(shape < 0.4   ? Circle(centre, radius)
                              : shape < 0.7 ? PolygonWithArc(random, centre, radius)
                                            : Polygon(random, centre, radius));
  boundary.lower_altitude_m = std::floor(random.Between(0.0, 1500.0));
  boundary.upper_altitude_m = boundary.lower_altitude_m + std::floor(random.Between(600.0, 6000.0));
  SetCorners(boundary, centre, radius * 1.3);
  return boundary;
}

}  // namespace tarnvale::fab
