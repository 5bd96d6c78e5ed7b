// Writes whole synthetic simulator installations for demos, tests and
// benchmarks: Scenery.cfg, the simulator's program file, magdec.bgl and
// scenery areas full of BGL files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "domain/simulation.h"
#include "sceneryfab/preset_generator.h"

namespace tarnvale::fab {

struct GenerateOptions {
  std::filesystem::path out;  // the simulator folder to create
  FsVersion fs_version = FsVersion::Fs2004;
  Preset preset = Preset::Demo;
  double scale = 1.0;      // multiplies every record count of the preset
  std::uint64_t seed = 1;  // same seed, same bytes
};

struct GenerateSummary {
  // Records the loader will read per kind (keys as CountFs2004Records).
  std::map<std::string, std::size_t> records;
  std::size_t bgl_files = 0;  // every BGL file written, magdec.bgl included
  std::uintmax_t bgl_bytes = 0;
  std::size_t navigation_files = 0;  // files holding records Tarnvale reads
  std::uintmax_t navigation_bytes = 0;
  std::size_t skipped_files = 0;  // files of sections Tarnvale skips
  std::uintmax_t skipped_bytes = 0;
  std::size_t areas = 0;  // areas listed in Scenery.cfg
  std::size_t active_areas = 0;
};

// Creates the installation in `options.out`, which must be absent or empty.
// Throws std::runtime_error naming the path when the folder already holds
// files or a file or folder cannot be written, std::invalid_argument for
// bad options.
GenerateSummary GenerateInstallation(const GenerateOptions& options);

}  // namespace tarnvale::fab
