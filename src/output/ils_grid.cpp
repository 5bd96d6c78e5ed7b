// The ILS transmitters filed in cells on the unit sphere, so that a runway is tested only against
// those near it.

#include "output/ils_grid.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "scenery/geometry.h"

namespace tarnvale {

namespace {

constexpr double kRadiansPerDegree = kPi / 180.0;

// Cell edge on the unit sphere. 2 NM is an arc of 5.82e-4 radians, and a
// chord is never longer than its arc; the edge leaves a wide margin for
// rounding (it is about 3.4 NM on the earth).
constexpr double kCellEdge = 1e-3;
// Cell coordinates lie in -1000..1000; offset them to pack three in a key.
constexpr std::int64_t kCoordinateOffset = 1 << 20;
constexpr int kCoordinateBits = 21;

using Cell = std::array<std::int64_t, 3>;

Cell CellOf(std::int32_t latitude, std::int32_t longitude) {
  const double phi = LatitudeUnitsToDegrees(latitude) * kRadiansPerDegree;
  const double lambda = LongitudeUnitsToDegrees(longitude) * kRadiansPerDegree;
  const double point[3] = {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda),
                           std::sin(phi)};
  Cell cell;
  for (int axis = 0; axis < 3; ++axis) {
    cell[axis] = static_cast<std::int64_t>(std::floor(point[axis] / kCellEdge));
  }
  return cell;
}

std::uint64_t KeyOf(const Cell& cell) {
  std::uint64_t key = 0;
  for (const std::int64_t coordinate : cell) {
    key = (key << kCoordinateBits) | static_cast<std::uint64_t>(coordinate + kCoordinateOffset);
  }
  return key;
}

}  // namespace

IlsGrid::IlsGrid(const RecordArray<IlsRecord>& ils) {
  filed_.reserve(ils.size());
  for (std::size_t index = 0; index < ils.size(); ++index) {
    filed_.push_back({KeyOf(CellOf(ils[index].Latitude, ils[index].Longitude)), index});
  }
  std::sort(filed_.begin(), filed_.end());
}

void IlsGrid::FindCandidates(std::int32_t latitude, std::int32_t longitude,
                             std::vector<std::size_t>& candidates) const {
  candidates.clear();
  const Cell centre = CellOf(latitude, longitude);
  for (std::int64_t dx = -1; dx <= 1; ++dx) {
    for (std::int64_t dy = -1; dy <= 1; ++dy) {
      for (std::int64_t dz = -1; dz <= 1; ++dz) {
        const std::uint64_t cell = KeyOf({centre[0] + dx, centre[1] + dy, centre[2] + dz});
        auto filed = std::lower_bound(filed_.begin(), filed_.end(), Filed{cell, 0});
        for (; filed != filed_.end() && filed->cell == cell; ++filed)
          candidates.push_back(filed->index);
      }
    }
  }
  // Each ILS sits in one cell; ascending order keeps the last match deciding.
  std::sort(candidates.begin(), candidates.end());
}

}  // namespace tarnvale
