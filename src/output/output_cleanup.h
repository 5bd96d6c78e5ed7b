// Removal of the database files set from the target folder.
#pragma once

#include <array>
#include <filesystem>
#include <string_view>

namespace tarnvale {

// The files a run writes into the target folder, in the order they are deleted.
inline constexpr std::array<std::string_view, 9> kOutputFileSet = {
    "world_airports.dat",   "world_navaids.dat",        "world_markers.dat",
    "world_fuel_areas.dat", "additional_airspaces.dat", "world_fixpoints.dat",
    "world_airways_j.dat",  "world_airways_v.dat",      "magdec.bgl"};

// Deletes every file of the set present in `target_folder` (names matched
// without regard to letter case). Returns 0, or 1 at the first deletion that
// fails, leaving the files after it untouched.
int DeleteOutputFiles(const std::filesystem::path& target_folder);

}  // namespace tarnvale
