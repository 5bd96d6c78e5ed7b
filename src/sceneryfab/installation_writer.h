// Writes a simulator folder the way the simulator lays it out: its program
// file, magdec.bgl, Scenery.cfg and one folder per scenery area.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "domain/simulation.h"
#include "sceneryfab/byte_buffer.h"

namespace tarnvale::fab {

// An area the builder lists in Scenery.cfg, as one [Area.nnn] section.
struct PlannedArea {
  PlannedArea() = default;
  PlannedArea(std::string area_title, std::string area_local)
      : title(std::move(area_title)), local(std::move(area_local)) {}

  std::string title;
  std::string local;  // as written, e.g. "Scenery\\World"; empty: no Local line
  std::string remote;
  bool active = true;
  bool required = false;
  std::optional<int> layer;  // default: the area's number
  std::optional<int> texture_id;
};

// The text of a Scenery.cfg listing `areas` as [Area.001], [Area.002], ...
// behind a [General] section; every line ends with CR LF.
std::string SceneryCfgText(const std::vector<PlannedArea>& areas);

// "fs9.exe" for FS2004, "fs2002.exe" for FS2002; throws
// std::invalid_argument for any other version.
std::string SimulatorProgramName(FsVersion fs_version);
// Where the simulator keeps magdec.bgl, relative to its folder:
// Scenery/BASE/Scenery/magdec.bgl (FS2004) or scenery/magdec.bgl (FS2002).
std::filesystem::path MagdecRelativePath(FsVersion fs_version);
// The folder that holds an area's BGL files: `local` (backslashes taken as
// separators) with "Scenery" appended, relative to the simulator folder.
std::filesystem::path AreaBglFolder(const std::string& local);

// A stand-in for the simulator's magnetic declination file, shaped so that
// the loader reads nothing from it: an FS2004 file holding only a section
// of a type it skips, or an FS2002 file whose layout words are 0.
Bytes MagdecBytes(FsVersion fs_version);

// Writes `bytes` to `path`, creating parent folders; throws
// std::runtime_error naming the path when it cannot.
void WriteBytesToFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
void WriteTextToFile(const std::filesystem::path& path, const std::string& text);

class Installation {
 public:
  // Creates `root` with the simulator's program file and magdec.bgl. No
  // area is listed yet (FS2004 keeps magdec.bgl in the folder of the area
  // whose Local is "Scenery\BASE").
  Installation(std::filesystem::path root, FsVersion fs_version);

  const std::filesystem::path& Root() const { return root_; }
  FsVersion Version() const { return fs_version_; }

  // Lists `area` and creates its BGL folder (when it has a Local), which
  // is returned as a full path.
  std::filesystem::path AddArea(const PlannedArea& area);
  const std::vector<PlannedArea>& Areas() const { return areas_; }

  // Writes Scenery.cfg listing every area added so far, in order.
  void WriteSceneryCfg() const;

 private:
  std::filesystem::path root_;
  FsVersion fs_version_;
  std::vector<PlannedArea> areas_;
};

}  // namespace tarnvale::fab
