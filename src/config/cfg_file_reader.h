// The configuration object: the target program's Program_Config.cfg
// settings and the simulator's scenery areas from Scenery.cfg.
//
// The sibling programs own Program_Config.cfg; this program reads every
// setting they keep there, changes only FS_Version and FS_Directory (and the
// first-use defaults), and writes the file back in its one fixed layout.
// Scenery.cfg is only read: one SceneryArea per "[Area." section, in file
// order.
//
// The object is owned by the application's program state and passed by
// reference; it holds no global state and makes no use of a current folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "domain/simulation.h"

namespace tarnvale {

// Results of reading and writing the configuration files.
enum class CfgResult {
  Ok = 0,
  Failed = 1,      // reading: memory ran out; writing: file not replaced
  Unreadable = 2,  // reading: the file cannot be opened or read, or is no
                   // regular file (a folder, a FIFO, a device)
};

// Display flags of the chart program, 0 or 1 each.
struct ChartDisplaySettings {
  std::uint8_t Follow_Aircraft = 0;
  std::uint8_t ILS_Graphic = 0;
  std::uint8_t ILS_Frequency = 0;
  std::uint8_t Taxiways_Graphic = 0;
  std::uint8_t Taxiways_IDs = 0;
  std::uint8_t Parkings_Graphic = 0;
  std::uint8_t Airport_Name = 0;
  std::uint8_t Runways_IDs = 0;
  std::uint8_t Fuel_Area = 0;
  std::uint8_t Runways_Hdgs = 0;
};

// Display flags of the radar program, 0 or 1 each.
struct RadarDisplaySettings {
  std::uint8_t Airport_Location = 0;
  std::uint8_t ILS_Graphic = 0;
  std::uint8_t Runways_Graphic = 0;
  std::uint8_t Runways_IDs = 0;
  std::uint8_t Taxiways_Graphic = 0;
  std::uint8_t Taxiways_IDs = 0;
  std::uint8_t Parkings_Graphic = 0;
  std::uint8_t Airspaces_Graphic = 0;
  std::uint8_t Intersections_Graphic = 0;
  std::uint8_t Airways_J_Graphic = 0;
  std::uint8_t Airways_V_Graphic = 0;
  std::uint8_t NDBs_Graphic = 0;
  std::uint8_t VORs_Graphic = 0;
  std::uint8_t TRACON_Airspaces_Graphic = 0;
  std::uint8_t Tower_Airspaces_Graphic = 0;
  std::uint8_t Additional_Airspaces = 0;
  std::uint8_t World_Map_Graphic = 0;
  std::uint8_t Radar_Rings_Graphic = 0;
  std::uint8_t Markers_Graphic = 0;
  std::uint8_t Fuel_Areas = 0;
};

// Colours of the radar program, as the numbers written in the file.
struct ColorSettings {
  std::uint32_t VORs_Graphic = 0;
  std::uint32_t NDBs_Graphic = 0;
  std::uint32_t Intersections_Graphic = 0;
  std::uint32_t Airways_J_Graphic = 0;
  std::uint32_t Airways_V_Graphic = 0;
  std::uint32_t ILS_Graphic = 0;
  std::uint32_t Airport_Location = 0;
  std::uint32_t Airspaces_Graphic = 0;
  std::uint32_t My_Airspace_Graphic = 0;
  std::uint32_t Runways_Guide_Lines = 0;
  std::uint32_t Runways_Graphic = 0;
  std::uint32_t Taxiways_Graphic = 0;
  std::uint32_t Parkings_Graphic = 0;
  std::uint32_t SIDs_Graphic = 0;
  std::uint32_t STARs_Graphic = 0;
  std::uint32_t Fuel_Areas = 0;
  std::uint32_t Inner_Markers_Graphic = 0;
  std::uint32_t Middle_Markers_Graphic = 0;
  std::uint32_t Outer_Markers_Graphic = 0;
  std::uint32_t World_Map_Graphic = 0;
  std::uint32_t Radar_Rings_Graphic = 0;
  std::uint32_t Airport_ICAO_ID = 0;
  std::uint32_t Runways_IDs = 0;
  std::uint32_t Taxiways_IDs = 0;
};

// One "[Area." section of Scenery.cfg.
struct SceneryArea {
  std::optional<std::string> Title;  // none when the section has no non-empty Title
  std::filesystem::path Local;       // existing folder of the area's BGL files, or empty
  std::string LocalText;             // the Local value as written, outer slashes stripped
  bool LocalTooLong = false;         // Local was dropped: its folder path is too long
  std::string Remote;                // as written
  std::uint8_t Required = 0;
  std::uint8_t Active = 0;
  std::int32_t Layer = 0;
  std::uint8_t Texture_ID = 0;  // low 8 bits of the written number
};

class CFG_File_Reader {
 public:
  // Settings of Program_Config.cfg; all zero / none until read.
  std::optional<std::string> Program_Name;
  TargetProgram Program_Id = TargetProgram::None;
  FsVersion FS_Version = FsVersion::None;
  std::optional<std::string> FS_Directory;  // the simulator folder as written
  ChartDisplaySettings ChartDisplay;
  RadarDisplaySettings RadarDisplay;
  std::int8_t Traffic_Separation = 0;
  std::int32_t Traffic_Altitude_Diff = 0;
  std::uint8_t Enable_Traffic_Sound = 0;
  std::uint8_t Notify_Arrival_FPs = 0;
  std::int8_t Mouse_Pointer = 0;
  ColorSettings Colors;

  // Areas of Scenery.cfg in file order. ReadSceneryLibrary only appends to it.
  std::vector<SceneryArea> SceneryAreas;
  std::int32_t SceneryAreaCount() const { return static_cast<std::int32_t>(SceneryAreas.size()); }

  // Both readers read `file` (its last component matched without regard to
  // letter case) line by line, in bounded memory whatever its size. They
  // return Failed when memory ran out (what was read so far stays);
  // Unreadable, with the reason in `unreadable` when given, when the file
  // cannot be opened, is no regular file (opening a FIFO or a device never
  // waits; the reason is then platform::NotARegularFile()) or fails to read
  // (the lines read before stay read); otherwise Ok.
  //
  // Program_Config.cfg: fills the settings.
  [[nodiscard]] CfgResult ReadProgramConfig(const std::filesystem::path& file,
                                            std::error_code* unreadable = nullptr);
  // Scenery.cfg: appends the areas, resolving each area's folder against the
  // folder that holds `file` (the simulator folder).
  [[nodiscard]] CfgResult ReadSceneryLibrary(const std::filesystem::path& file,
                                             std::error_code* unreadable = nullptr);

  // Rewrites the existing Program_Config.cfg `file` (last component matched
  // without regard to letter case) with ProgramConfigText(), replacing it
  // atomically. Returns Failed, leaving the disk as it was, when the file is
  // missing or the new one could not be completely written; otherwise Ok.
  [[nodiscard]] CfgResult WriteProgramConfig(const std::filesystem::path& file) const;

  // The bytes WriteProgramConfig writes: the fixed layout for Program_Id,
  // every line ending in CR LF.
  std::string ProgramConfigText() const;

  // True when the file recorded a simulator: a non-empty FS_Directory and a
  // FS_Version other than None. Start-up asks for one otherwise.
  bool HasSimulator() const;

  // The defaults a target program gets when this program first asks for the
  // simulator: every display flag on, and for the radar program its traffic,
  // flight, mouse and colour settings. Other Program_Id values change nothing.
  void SetFirstUseDefaults();

  // FS_Directory as a path of this machine (platform::ResolvePath, letter
  // case matched); empty when none or empty. `target_folder`, the folder of
  // Program_Config.cfg, lets a drive-letter text written by the sibling
  // program under Wine be found through that Wine prefix; a relative text is
  // taken against it too.
  std::filesystem::path SimulatorFolder(const std::filesystem::path& target_folder = {}) const;

  // Empties the area list; part of releasing a run's database.
  void ReleaseSceneryAreas();

 private:
  enum class Section { None, Main, Display, Colors, Traffic, Flights, Mouse, General, Area, Cache };

  void ReadProgramConfigLine(const std::string& line, Section& section);
  void ReadMainKeys(const std::string& line);
  void ReadRadarOnlyKeys(const std::string& line, Section section);
  void ReadSceneryLine(const std::string& line, Section& section,
                       const std::filesystem::path& simulator_folder);
  void ReadAreaKeys(const std::string& line, SceneryArea& area,
                    const std::filesystem::path& simulator_folder);
  void AppendRadarSections(std::string& text) const;
};

}  // namespace tarnvale
