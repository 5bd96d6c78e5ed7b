// Believable synthetic scenery as plain values, independent of any file
// format: a preset decides how many of everything there are and where;
// the world is cut into tiles that are generated one at a time, each from
// its own seed, so that any tile can be made without the others.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sceneryfab/model.h"
#include "sceneryfab/preset_plan.h"

namespace tarnvale::fab {

struct TileInfo {
  std::size_t area = 0;  // index into Areas()
  std::string stem;      // distinguishes the tile's file names, e.g. "0007"
};

struct AreaInfo {
  std::string title;
  std::string folder;  // last part of the area's Local, e.g. "Region03"
};

class WorldGenerator {
 public:
  WorldGenerator(PresetPlan plan, std::uint64_t seed);

  const PresetPlan& Plan() const { return plan_; }
  std::size_t TileCount() const { return plan_.tiles; }
  TileInfo Tile(std::size_t index) const;
  // The scenery areas the tiles go to.
  std::vector<AreaInfo> Areas() const;

  // Everything of tile `index`: its airports (with runways, ILS idents,
  // helipads, COMs, ground layouts), fuel triggers, VORs, ILS, NDBs,
  // markers, intersections with airways through shared intersections, and
  // airspaces with lines, arcs and circles. Identifiers are unique over
  // the whole world. Indices from TileCount() on give extra tiles beyond
  // the plan (still unique), used for scenery the loader must not read.
  SceneryContent GenerateTile(std::size_t index) const;

 private:
  PresetPlan plan_;
  std::uint64_t seed_;
};

}  // namespace tarnvale::fab
