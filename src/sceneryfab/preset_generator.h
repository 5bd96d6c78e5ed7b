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

namespace tarnvale::fab {

enum class Preset { Demo, World };

// What a preset holds over the whole installation, after scaling, and how
// it is cut into tiles and scenery areas.
struct PresetPlan {
  std::size_t tiles = 1;  // groups of navigation files
  std::size_t areas = 1;  // scenery areas the tiles are spread over, in order
  double south = 0.0, north = 0.0, west = 0.0, east = 0.0;  // degrees covered
  std::size_t airports = 0;
  std::size_t ilss = 0;
  std::size_t vors = 0;
  std::size_t ndbs = 0;
  std::size_t intersections = 0;
  std::size_t airways = 0;
  std::size_t boundaries = 0;
  double ground_layout_share = 0.0;  // airports with taxiways and parkings
  // Files of sections Tarnvale skips, per area, and their bytes per byte
  // of the area's navigation files.
  std::size_t skipped_files_per_area = 0;
  double skipped_bytes_per_navigation_byte = 0.0;
  bool inactive_area = false;  // an extra, inactive area with navigation files
};

// The plan of `preset` scaled by `scale`: tile count and totals shrink or
// grow together (at least one tile). Throws std::invalid_argument for a
// scale that is not a positive finite number.
PresetPlan PlanFor(Preset preset, double scale);

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
