// Writes whole synthetic simulator installations for demos, tests and
// benchmarks: Scenery.cfg, the simulator's program file, magdec.bgl and
// scenery areas full of BGL files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace tarnvale::fab {

enum class Preset { Demo, World };

struct GenerateOptions {
  std::filesystem::path out;  // the simulator folder to create
  int fs_version = 9;         // 8 = FS2002, 9 = FS2004
  Preset preset = Preset::Demo;
  double scale = 1.0;         // multiplies every record count of the preset
  std::uint64_t seed = 1;     // same seed, same bytes
};

struct GenerateSummary {
  std::map<std::string, std::size_t> records;  // records written per kind ("airports", "vors", ...)
  std::size_t bgl_files = 0;
  std::uintmax_t bgl_bytes = 0;
};

// Creates the installation; throws std::runtime_error naming the path when a
// file or folder cannot be written, std::invalid_argument for bad options.
GenerateSummary GenerateInstallation(const GenerateOptions& options);

}  // namespace tarnvale::fab
