// Single-precision values, point keys, and the airway routes attached to the intersections they
// pass.

#include "sceneryfab/model.h"

#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <unordered_map>

namespace tarnvale::fab {

Single::Single(double value) {
  float single = 0.0f;
  if (std::isnan(value)) {
    single = std::numeric_limits<float>::quiet_NaN();
  } else if (std::fabs(value) > std::numeric_limits<float>::max()) {
    // Converting an out-of-range double to float is undefined: saturate.
    single = value > 0 ? std::numeric_limits<float>::infinity()
                       : -std::numeric_limits<float>::infinity();
  } else {
    single = static_cast<float>(value);
  }
  bits_ = std::bit_cast<std::uint32_t>(single);
}

double Single::Value() const { return static_cast<double>(std::bit_cast<float>(bits_)); }

namespace {

std::string PointKey(const Ident& region, const Ident& ident) {
  return region.text + '/' + ident.text;
}

RouteNeighbour NeighbourAt(const AirwayPoint& point, Single leg_altitude) {
  return RouteNeighbour{point.ident, point.region, leg_altitude};
}

}  // namespace

void AttachRoutes(std::vector<Intersection>& intersections, const std::vector<Airway>& airways) {
  std::unordered_map<std::string, std::size_t> by_key;
  for (std::size_t i = 0; i < intersections.size(); ++i) {
    by_key.emplace(PointKey(intersections[i].region, intersections[i].ident), i);
  }
  for (const Airway& airway : airways) {
    for (std::size_t i = 0; i < airway.points.size(); ++i) {
      const AirwayPoint& point = airway.points[i];
      const auto found = by_key.find(PointKey(point.region, point.ident));
      if (found == by_key.end()) continue;
      Route route{airway.level, airway.name, std::nullopt, std::nullopt};
      if (i > 0) route.previous = NeighbourAt(airway.points[i - 1], point.minimum_altitude_m);
      if (i + 1 < airway.points.size()) {
        route.next = NeighbourAt(airway.points[i + 1], airway.points[i + 1].minimum_altitude_m);
      }
      intersections[found->second].routes.push_back(std::move(route));
    }
  }
}

}  // namespace tarnvale::fab
