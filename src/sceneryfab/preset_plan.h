// The presets of synthetic scenery: how much of everything a preset holds,
// where it lies, and how it is cut into tiles and scenery areas.
#pragma once

#include <cstddef>

namespace tarnvale::fab {

enum class Preset { Demo, World, Full };

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
  // The bulk of a stock installation beside its navigation files: BGL files
  // that hold nothing Tarnvale reads, spread over the tiles' areas and
  // areas of their own, and texture files in every area's texture folder.
  std::size_t passed_over_files = 0;
  std::size_t passed_over_areas = 0;
  std::size_t texture_files = 0;
};

// The plan of `preset` scaled by `scale`: tile count and totals shrink or
// grow together (at least one tile). Throws std::invalid_argument for a
// scale that is not a positive finite number.
PresetPlan PlanFor(Preset preset, double scale);

}  // namespace tarnvale::fab
