// A spatial index of ILS transmitters for binding them to runways.
//
// Every position is placed on the unit sphere (x, y, z) and filed in a cubic
// grid cell. Two points less than 2 NM apart are less than one cell edge
// apart in each coordinate, so the 27 cells around a runway hold every ILS
// that can bind to it. Working in three dimensions needs no care at the poles
// or at the 180 degree meridian, where latitude/longitude cells would shrink
// or wrap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "scenery/decoding.h"  // LatitudeUnitsToDegrees, LongitudeUnitsToDegrees
#include "scenery/records.h"

namespace tarnvale {

class IlsGrid {
 public:
  explicit IlsGrid(const RecordArray<IlsRecord>& ils);

  // Replaces `candidates` with the indices, ascending, of the ILS in the
  // cells around the position (database units): a superset of those less
  // than 2 NM away.
  void FindCandidates(std::int32_t latitude, std::int32_t longitude,
                      std::vector<std::size_t>& candidates) const;

 private:
  struct Filed {
    std::uint64_t cell;
    std::size_t index;
    auto operator<=>(const Filed&) const = default;
  };
  std::vector<Filed> filed_;  // ordered by cell, then index
};

}  // namespace tarnvale
