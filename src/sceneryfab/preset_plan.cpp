// The numbers of the demo and world presets, and their scaling.
#include "sceneryfab/preset_plan.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace tarnvale::fab {

namespace {

PresetPlan BasePlan(Preset preset) {
  PresetPlan plan;
  if (preset == Preset::World || preset == Preset::Full) {
    plan.tiles = 240;
    plan.areas = 12;
    plan.south = -56.0, plan.north = 72.0, plan.west = -180.0, plan.east = 180.0;
    plan.airports = 24000, plan.ilss = 3300, plan.vors = 3700, plan.ndbs = 5800;
    plan.intersections = 75000, plan.airways = 9000, plan.boundaries = 6200;
    plan.ground_layout_share = 0.3;
    plan.skipped_files_per_area = 4;
    plan.skipped_bytes_per_navigation_byte = 10.0;
  } else {
    plan.tiles = 3;
    plan.areas = 2;
    plan.south = 45.0, plan.north = 48.5, plan.west = 5.5, plan.east = 11.5;
    plan.airports = 36, plan.ilss = 10, plan.vors = 8, plan.ndbs = 10;
    plan.intersections = 60, plan.airways = 9, plan.boundaries = 12;
    plan.ground_layout_share = 0.5;
    plan.skipped_files_per_area = 2;
    plan.skipped_bytes_per_navigation_byte = 2.0;
  }
  plan.inactive_area = true;
  if (preset == Preset::Full) {
    // A stock installation of either simulator: about 2.5 GB on disk in
    // some 30 scenery areas, several thousand BGL files of terrain, land
    // class, water and roads, object libraries and exclusions, and a few
    // thousand textures.
    plan.passed_over_files = 3000;
    plan.passed_over_areas = 16;
    plan.texture_files = 4000;
  }
  return plan;
}

std::size_t Scaled(std::size_t count, double scale) {
  return static_cast<std::size_t>(std::llround(static_cast<double>(count) * scale));
}

}  // namespace

PresetPlan PlanFor(Preset preset, double scale) {
  if (!std::isfinite(scale) || scale <= 0.0 || scale > 1000.0) {
    throw std::invalid_argument("scale must be a number above 0 and at most 1000, not " +
                                std::to_string(scale));
  }
  PresetPlan plan = BasePlan(preset);
  plan.tiles = std::max<std::size_t>(1, Scaled(plan.tiles, scale));
  plan.areas = std::min(plan.areas, plan.tiles);
  for (std::size_t* count :
       {&plan.passed_over_files, &plan.passed_over_areas, &plan.texture_files, &plan.airports,
        &plan.ilss, &plan.vors, &plan.ndbs, &plan.intersections, &plan.airways, &plan.boundaries}) {
    *count = Scaled(*count, scale);
  }
  if (plan.passed_over_files > 0)
    plan.passed_over_areas = std::max<std::size_t>(1, plan.passed_over_areas);
  return plan;
}

}  // namespace tarnvale::fab
