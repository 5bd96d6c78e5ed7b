// Generates a whole synthetic installation: area by area, one tile at a time, in the simulator's
// file format, counting the areas and files written.

#include "sceneryfab/installation_generator.h"

#include <stdexcept>
#include <system_error>

#include "platform/paths.h"
#include "sceneryfab/fs2002_format.h"
#include "sceneryfab/installation_writer.h"
#include "sceneryfab/random.h"
#include "sceneryfab/scenery_format.h"
#include "sceneryfab/text.h"

namespace tarnvale::fab {

namespace {

SceneryFormat FormatFor(FsVersion fs_version) {
  if (fs_version == FsVersion::Fs2004) return Fs2004Format();
  if (fs_version == FsVersion::Fs2002) return Fs2002Format();
  throw std::invalid_argument("simulator version must be " + SimulatorChoicesText() + ", not " +
                              std::to_string(ToNumber(fs_version)));
}

// Writes the generated world area by area, one tile at a time, so that no
// more than one tile is held in memory.
class InstallationGenerator {
 public:
  explicit InstallationGenerator(const GenerateOptions& options)
      : options_(options),
        format_(FormatFor(options.fs_version)),
        world_(PlanFor(options.preset, options.scale), options.seed),
        installation_(options.out, options.fs_version),
        scenery_root_(options.fs_version == FsVersion::Fs2004 ? "Scenery" : "scenery") {
    summary_.bgl_files = 1;  // magdec.bgl
    summary_.bgl_bytes =
        std::filesystem::file_size(options.out / MagdecRelativePath(options.fs_version));
  }

  GenerateSummary Run() {
    if (options_.fs_version == FsVersion::Fs2004)
      installation_.AddArea(PlannedArea("Base", scenery_root_ + "\\BASE"));
    const std::vector<AreaInfo> areas = world_.Areas();
    std::vector<std::filesystem::path> folders;
    for (std::size_t area = 0; area < areas.size(); ++area)
      folders.push_back(WriteArea(area, areas[area]));
    WriteBulk(folders);
    if (world_.Plan().inactive_area) WriteInactiveArea();
    installation_.WriteSceneryCfg();
    summary_.areas = installation_.Areas().size();
    for (const PlannedArea& area : installation_.Areas())
      summary_.active_areas += area.active ? 1 : 0;
    return summary_;
  }

 private:
  // Returns the area's BGL folder.
  std::filesystem::path WriteArea(std::size_t area, const AreaInfo& info) {
    const std::filesystem::path folder =
        installation_.AddArea(PlannedArea(info.title, scenery_root_ + "\\" + info.folder));
    std::uintmax_t navigation_bytes = 0;
    for (std::size_t tile = 0; tile < world_.TileCount(); ++tile) {
      const TileInfo tile_info = world_.Tile(tile);
      if (tile_info.area != area) continue;
      const WrittenFiles written =
          format_.write_content(world_.GenerateTile(tile), folder, tile_info.stem);
      Count(written, true);
      navigation_bytes += written.bytes;
    }
    WriteSkippedFiles(area, folder, navigation_bytes);
    return folder;
  }

  // The files of the installation's bulk, spread in turn over the tiles'
  // areas (`folders`) and areas of their own; each area's textures go to
  // the texture folder beside its BGL folder.
  void WriteBulk(std::vector<std::filesystem::path> folders) {
    const PresetPlan& plan = world_.Plan();
    for (std::size_t area = 0; area < plan.passed_over_areas; ++area) {
      const std::string number = ZeroPadded(area + 1, 2);
      folders.push_back(installation_.AddArea(
          PlannedArea("Terrain and Objects " + number, scenery_root_ + "\\Terrain" + number)));
    }
    const Bytes pattern = PayloadPattern(options_.seed);
    const std::vector<PassedOverFile> files =
        PlanPassedOverFiles(plan.passed_over_files, options_.seed);
    for (std::size_t i = 0; i < files.size(); ++i) {
      WritePassedOverFile(folders[i % folders.size()] / files[i].name, files[i],
                          format_.passed_over_head(files[i]), pattern);
      summary_.bgl_bytes += files[i].size;
      summary_.skipped_bytes += files[i].size;
      ++summary_.bgl_files;
      ++summary_.skipped_files;
    }
    const std::vector<PassedOverFile> textures =
        PlanTextureFiles(plan.texture_files, options_.seed);
    for (std::size_t i = 0; i < textures.size(); ++i) {
      const std::filesystem::path folder = folders[i % folders.size()].parent_path() / "Texture";
      WritePassedOverFile(folder / textures[i].name, textures[i], TextureHead(textures[i]),
                          pattern);
    }
  }

  // Terrain and object files outweigh the navigation data many times over.
  void WriteSkippedFiles(std::size_t area, const std::filesystem::path& folder,
                         std::uintmax_t navigation_bytes) {
    const std::size_t files = world_.Plan().skipped_files_per_area;
    const double total =
        world_.Plan().skipped_bytes_per_navigation_byte * static_cast<double>(navigation_bytes);
    for (std::size_t k = 0; k < files; ++k) {
      const std::string name =
          (k % 2 == 0 ? "TERRAIN" : "OBJECTS") + ZeroPadded(area * files + k, 4) + ".BGL";
      const auto size = static_cast<std::size_t>(total / static_cast<double>(files));
      const std::uint64_t seed = DeriveSeed(options_.seed, 0x5C1Bull * (area + 1) + k);
      const std::uintmax_t bytes = format_.write_skipped(folder / name, size, seed);
      summary_.bgl_bytes += bytes;
      summary_.skipped_bytes += bytes;
      ++summary_.bgl_files;
      ++summary_.skipped_files;
    }
  }

  // An add-on area switched off in the library: its records must not be read.
  void WriteInactiveArea() {
    PlannedArea area("Disabled Add-on", scenery_root_ + "\\Addon");
    area.active = false;
    const std::filesystem::path folder = installation_.AddArea(area);
    Count(format_.write_content(world_.GenerateTile(world_.TileCount()), folder, "ADDON"), false);
  }

  void Count(const WrittenFiles& written, bool active) {
    summary_.bgl_files += written.files;
    summary_.bgl_bytes += written.bytes;
    if (!active) return;
    summary_.navigation_files += written.files;
    summary_.navigation_bytes += written.bytes;
    for (const auto& [kind, count] : written.records) summary_.records[kind] += count;
  }

  const GenerateOptions& options_;
  SceneryFormat format_;
  WorldGenerator world_;
  Installation installation_;
  std::string scenery_root_;
  GenerateSummary summary_;
};

}  // namespace

GenerateSummary GenerateInstallation(const GenerateOptions& options) {
  if (options.out.empty()) throw std::invalid_argument("the installation needs an output folder");
  // Files of an earlier generation would mix with the new ones unnoticed.
  std::error_code error;
  if (std::filesystem::exists(options.out, error) &&
      !std::filesystem::is_empty(options.out, error)) {
    throw std::runtime_error(platform::Utf8Of(options.out) +
                             " already holds files; generate into a new or empty folder");
  }
  return InstallationGenerator(options).Run();
}

}  // namespace tarnvale::fab
