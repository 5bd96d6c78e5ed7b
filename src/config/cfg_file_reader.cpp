// Reads Program_Config.cfg and Scenery.cfg line by line through tables of keys, and writes
// Program_Config.cfg back with its radar sections.

#include "config/cfg_file_reader.h"

#include <array>
#include <new>
#include <span>
#include <string_view>
#include <utility>

#include "config/cfg_line_rules.h"
#include "platform/fault_injection.h"
#include "platform/file_operations.h"
#include "platform/paths.h"
#include "platform/system_file.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;

// A setting of a group, by its key. Tables list their keys in the order of
// the written file, which is also the order in which a line is tried.
template <typename Group, typename Value>
struct KeyedField {
  std::string_view key;
  Value Group::*field;
};

using ChartFlag = KeyedField<ChartDisplaySettings, std::uint8_t>;
using RadarFlag = KeyedField<RadarDisplaySettings, std::uint8_t>;

constexpr std::array<ChartFlag, 10> kChartDisplayKeys{{
    {"Follow_Aircraft", &ChartDisplaySettings::Follow_Aircraft},
    {"ILS_Graphic", &ChartDisplaySettings::ILS_Graphic},
    {"ILS_Frequency", &ChartDisplaySettings::ILS_Frequency},
    {"Taxiways_Graphic", &ChartDisplaySettings::Taxiways_Graphic},
    {"Taxiways_IDs", &ChartDisplaySettings::Taxiways_IDs},
    {"Parkings_Graphic", &ChartDisplaySettings::Parkings_Graphic},
    {"Airport_Name", &ChartDisplaySettings::Airport_Name},
    {"Runways_IDs", &ChartDisplaySettings::Runways_IDs},
    {"Fuel_Area", &ChartDisplaySettings::Fuel_Area},
    {"Runways_Hdgs", &ChartDisplaySettings::Runways_Hdgs},
}};

constexpr std::array<RadarFlag, 20> kRadarDisplayKeys{{
    {"Airport_Location", &RadarDisplaySettings::Airport_Location},
    {"Airspaces_Graphic", &RadarDisplaySettings::Airspaces_Graphic},
    {"Airways_J_Graphic", &RadarDisplaySettings::Airways_J_Graphic},
    {"Airways_V_Graphic", &RadarDisplaySettings::Airways_V_Graphic},
    {"ILS_Graphic", &RadarDisplaySettings::ILS_Graphic},
    {"Intersections_Graphic", &RadarDisplaySettings::Intersections_Graphic},
    {"Markers_Graphic", &RadarDisplaySettings::Markers_Graphic},
    {"NDBs_Graphic", &RadarDisplaySettings::NDBs_Graphic},
    {"Parkings_Graphic", &RadarDisplaySettings::Parkings_Graphic},
    {"Radar_Rings_Graphic", &RadarDisplaySettings::Radar_Rings_Graphic},
    {"Runways_Graphic", &RadarDisplaySettings::Runways_Graphic},
    {"Runways_IDs", &RadarDisplaySettings::Runways_IDs},
    {"Taxiways_Graphic", &RadarDisplaySettings::Taxiways_Graphic},
    {"Taxiways_IDs", &RadarDisplaySettings::Taxiways_IDs},
    {"Tower_Airspaces_Graphic", &RadarDisplaySettings::Tower_Airspaces_Graphic},
    {"Additional_Airspaces", &RadarDisplaySettings::Additional_Airspaces},
    {"Fuel_Areas", &RadarDisplaySettings::Fuel_Areas},
    {"TRACON_Airspaces_Graphic", &RadarDisplaySettings::TRACON_Airspaces_Graphic},
    {"VORs_Graphic", &RadarDisplaySettings::VORs_Graphic},
    {"World_Map_Graphic", &RadarDisplaySettings::World_Map_Graphic},
}};

struct ColorKey {
  std::string_view key;
  std::uint32_t ColorSettings::*field;
  std::uint32_t first_use;  // 24-bit colour given on first use
};

constexpr std::array<ColorKey, 24> kColorKeys{{
    {"Airport_ICAO_ID", &ColorSettings::Airport_ICAO_ID, 0xFFFFFF},
    {"Airport_Location", &ColorSettings::Airport_Location, 0x0000FF},
    {"Airspaces_Graphic", &ColorSettings::Airspaces_Graphic, 0xFFFF00},
    {"Airways_J_Graphic", &ColorSettings::Airways_J_Graphic, 0x00FF00},
    {"Airways_V_Graphic", &ColorSettings::Airways_V_Graphic, 0x00FF00},
    {"ILS_Graphic", &ColorSettings::ILS_Graphic, 0x00FFFF},
    {"Inner_Markers_Graphic", &ColorSettings::Inner_Markers_Graphic, 0xFFFFFF},
    {"Intersections_Graphic", &ColorSettings::Intersections_Graphic, 0xFFFFFF},
    {"Middle_Markers_Graphic", &ColorSettings::Middle_Markers_Graphic, 0x0080FF},
    {"My_Airspace_Graphic", &ColorSettings::My_Airspace_Graphic, 0xC000C0},
    {"NDBs_Graphic", &ColorSettings::NDBs_Graphic, 0x00FF00},
    {"Outer_Markers_Graphic", &ColorSettings::Outer_Markers_Graphic, 0xFF0000},
    {"Parkings_Graphic", &ColorSettings::Parkings_Graphic, 0x404080},
    {"Radar_Rings_Graphic", &ColorSettings::Radar_Rings_Graphic, 0x808080},
    {"Runways_Graphic", &ColorSettings::Runways_Graphic, 0x00C000},
    {"Runways_Guide_Lines", &ColorSettings::Runways_Guide_Lines, 0x00C000},
    {"Runways_IDs", &ColorSettings::Runways_IDs, 0xFFFFFF},
    {"SIDs_Graphic", &ColorSettings::SIDs_Graphic, 0xC0C0C0},
    {"STARs_Graphic", &ColorSettings::STARs_Graphic, 0xC0C0C0},
    {"Fuel_Areas", &ColorSettings::Fuel_Areas, 0x00FFFF},
    {"Taxiways_Graphic", &ColorSettings::Taxiways_Graphic, 0xC0C0C0},
    {"Taxiways_IDs", &ColorSettings::Taxiways_IDs, 0xFFFFFF},
    {"VORs_Graphic", &ColorSettings::VORs_Graphic, 0xFF0000},
    {"World_Map_Graphic", &ColorSettings::World_Map_Graphic, 0x808080},
}};

constexpr std::string_view kComment = "         // ";
constexpr std::string_view kDoNotChange = "Please don't change this number.";

// Takes the first key of `table` that `line` starts with; its value, when
// not empty, goes through `assign`. Later keys are not tried.
template <typename Entry, typename Group, typename Assign>
void ReadFirstMatch(std::span<const Entry> table, Group& group, std::string_view line,
                    Assign assign) {
  for (const Entry& entry : table) {
    if (!StartsWithKey(entry.key, line)) continue;
    const std::string value = GetKeyValue(entry.key, line);
    if (!value.empty()) assign(group.*entry.field, value);
    return;
  }
}

void SetFlag(std::uint8_t& flag, const std::string& value) { flag = ParseFlag(value, flag); }

template <typename Group>
void ReadFlags(std::span<const KeyedField<Group, std::uint8_t>> table, Group& group,
               std::string_view line) {
  ReadFirstMatch(table, group, line, SetFlag);
}

template <typename Group>
void SetAllFlags(std::span<const KeyedField<Group, std::uint8_t>> table, Group& group) {
  for (const auto& entry : table) group.*entry.field = 1;
}

// The section a header line opens, or `current` when it opens none of these.
template <typename SectionType, std::size_t N>
SectionType SectionOf(const std::array<std::pair<std::string_view, SectionType>, N>& headers,
                      std::string_view line, SectionType current) {
  for (const auto& [header, section] : headers) {
    if (StartsWithKey(header, line)) return section;
  }
  return current;
}

void AppendLine(std::string& text, std::string_view key, std::string_view value = {},
                std::string_view comment = {}) {
  text.append(key).append(value);
  if (!comment.empty()) text.append(kComment).append(comment);
  text.append("\r\n");
}

std::string FlagText(std::uint8_t flag) {
  if (flag == 1) return "TRUE";
  if (flag == 0) return "FALSE";
  return {};
}

template <typename Group>
void AppendFlags(std::string& text, std::span<const KeyedField<Group, std::uint8_t>> table,
                 const Group& group) {
  AppendLine(text, "");
  AppendLine(text, "[Display Settings]");
  for (const auto& entry : table)
    AppendLine(text, std::string(entry.key) + "=", FlagText(group.*entry.field));
}

// Hands each line of the regular file `file` to `take`, reading the file
// piece by piece. Returns why the file could not be opened or read; a file
// that is no regular file, such as a FIFO, is turned away without waiting
// for it.
template <typename Take>
std::error_code ForEachLine(const fs::path& file, Take take) {
  std::error_code error;
  const std::optional<platform::InputFile> input = platform::InputFile::Open(file, error);
  if (!input) return error;
  LineCutter cutter;
  error = input->ReadInPieces([&](std::string_view piece) {
    cutter.Cut(piece, take);
    return std::error_code();
  });
  cutter.Finish(take);
  return error;
}

// Each area and title read counts as one allocation, so that a test can
// fail any one as if memory ran out.
void TakeAllocation() { platform::CountAllocation(platform::FaultSite::ConfigAllocation); }

// Hands each line of `file` (letter case matched) and the folder that holds
// it to `read`, and turns how that ended into the reader's result.
template <typename Read>
CfgResult ReadConfigurationFile(const fs::path& file, std::error_code* unreadable, Read read) {
  try {
    const fs::path resolved = platform::MatchLetterCase(file);
    const fs::path folder = resolved.parent_path();
    const std::error_code error =
        ForEachLine(resolved, [&](const std::string& line) { read(line, folder); });
    if (!error) return CfgResult::Ok;
    if (unreadable) *unreadable = error;
    return CfgResult::Unreadable;
  } catch (const std::bad_alloc&) {
    return CfgResult::Failed;
  }
}

}  // namespace

CfgResult CFG_File_Reader::ReadProgramConfig(const fs::path& file, std::error_code* unreadable) {
  Section section = Section::None;
  return ReadConfigurationFile(file, unreadable, [&](const std::string& line, const fs::path&) {
    ReadProgramConfigLine(line, section);
  });
}

CfgResult CFG_File_Reader::ReadSceneryLibrary(const fs::path& file, std::error_code* unreadable) {
  Section section = Section::None;
  return ReadConfigurationFile(file, unreadable,
                               [&](const std::string& line, const fs::path& simulator_folder) {
                                 ReadSceneryLine(line, section, simulator_folder);
                               });
}

void CFG_File_Reader::ReadProgramConfigLine(const std::string& line, Section& section) {
  static constexpr std::array<std::pair<std::string_view, Section>, 6> kHeaders{{
      {"[Main Settings]", Section::Main},
      {"[Display Settings]", Section::Display},
      {"[Colors Settings]", Section::Colors},
      {"[Traffic Settings]", Section::Traffic},
      {"[Flights Settings]", Section::Flights},
      {"[Mouse Settings]", Section::Mouse},
  }};
  section = SectionOf(kHeaders, line, section);
  if (section == Section::Main) {
    ReadMainKeys(line);
  } else if (section == Section::Display && Program_Id == TargetProgram::Chart) {
    ReadFlags<ChartDisplaySettings>(kChartDisplayKeys, ChartDisplay, line);
  } else if (section == Section::Display && Program_Id == TargetProgram::Radar) {
    ReadFlags<RadarDisplaySettings>(kRadarDisplayKeys, RadarDisplay, line);
  } else if (Program_Id == TargetProgram::Radar) {
    ReadRadarOnlyKeys(line, section);
  }
}

void CFG_File_Reader::ReadMainKeys(const std::string& line) {
  if (std::string value = GetKeyValue("Program_Name", line); !value.empty())
    Program_Name = std::move(value);
  if (std::string value = GetKeyValue("Program_Id", line); !value.empty()) {
    Program_Id = TargetProgramFromNumber(static_cast<std::int16_t>(ParseDecimal(value)));
  }
  if (std::string value = GetKeyValue("FS_Version", line); !value.empty()) {
    FS_Version = FsVersionFromNumber(static_cast<std::int16_t>(ParseDecimal(value)));
  }
  if (std::string value = GetKeyValue("FS_Directory", line); !value.empty()) {
    StripFolderSlashes(value);
    FS_Directory = std::move(value);
  }
}

void CFG_File_Reader::ReadRadarOnlyKeys(const std::string& line, Section section) {
  const auto read_number = [&line](std::string_view key) -> std::optional<std::int32_t> {
    const std::string value = GetKeyValue(key, line);
    if (value.empty()) return std::nullopt;
    return ParseDecimal(value);
  };
  switch (section) {
    case Section::Colors:
      ReadFirstMatch<ColorKey>(kColorKeys, Colors, line,
                               [](std::uint32_t& colour, const std::string& value) {
                                 colour = ParseUnsignedDecimal(value);
                               });
      break;
    case Section::Traffic:
      if (StartsWithKey("Enable_Traffic_Sound", line)) {
        SetFlag(Enable_Traffic_Sound, GetKeyValue("Enable_Traffic_Sound", line));
      } else if (StartsWithKey("Traffic_Altitude_Diff", line)) {
        Traffic_Altitude_Diff =
            read_number("Traffic_Altitude_Diff").value_or(Traffic_Altitude_Diff);
      } else if (StartsWithKey("Traffic_Separation", line)) {
        Traffic_Separation = static_cast<std::int8_t>(
            read_number("Traffic_Separation").value_or(Traffic_Separation));
      }
      break;
    case Section::Flights:
      if (StartsWithKey("Notify_Arrival_FPs", line))
        SetFlag(Notify_Arrival_FPs, GetKeyValue("Notify_Arrival_FPs", line));
      break;
    case Section::Mouse:
      if (StartsWithKey("Mouse_Pointer", line)) {
        Mouse_Pointer =
            static_cast<std::int8_t>(read_number("Mouse_Pointer").value_or(Mouse_Pointer));
      }
      break;
    default:
      break;
  }
}

void CFG_File_Reader::ReadSceneryLine(const std::string& line, Section& section,
                                      const fs::path& simulator_folder) {
  if (StartsWithKey("[General]", line)) {
    section = Section::General;
  } else if (StartsWithKey("[Area.", line)) {
    TakeAllocation();
    SceneryAreas.emplace_back();
    section = Section::Area;
  } else if (StartsWithKey("[Cache.", line)) {
    section = Section::Cache;
  }
  if (section == Section::Area) ReadAreaKeys(line, SceneryAreas.back(), simulator_folder);
}

void CFG_File_Reader::ReadAreaKeys(const std::string& line, SceneryArea& area,
                                   const fs::path& simulator_folder) {
  if (std::string value = GetKeyValue("Title", line); !value.empty()) {
    TakeAllocation();
    area.Title = std::move(value);
  }
  if (std::string value = GetKeyValue("Local", line); !value.empty()) {
    StripFolderSlashes(value);
    area.Local = ResolveSceneryFolder(value, simulator_folder);
    area.LocalTooLong = SceneryFolderTooLong(value, simulator_folder);
    area.LocalText = std::move(value);
  }
  if (std::string value = GetKeyValue("Remote", line); !value.empty())
    area.Remote = std::move(value);
  if (std::string value = GetKeyValue("Active", line); !value.empty()) SetFlag(area.Active, value);
  if (std::string value = GetKeyValue("Layer", line); !value.empty())
    area.Layer = ParseDecimal(value);
  if (std::string value = GetKeyValue("Required", line); !value.empty())
    SetFlag(area.Required, value);
  if (std::string value = GetKeyValue("Texture_ID", line); !value.empty()) {
    area.Texture_ID = static_cast<std::uint8_t>(ParseDecimal(value));
  }
}

std::string CFG_File_Reader::ProgramConfigText() const {
  std::string text;
  AppendLine(text, "[Main Settings]");
  AppendLine(text, "Program_Name=", Program_Name.value_or(""));
  AppendLine(text, "Program_Id=", std::to_string(ToNumber(Program_Id)), kDoNotChange);
  AppendLine(text, "FS_Version=", std::to_string(ToNumber(FS_Version)), kDoNotChange);
  AppendLine(text, "FS_Directory=", FS_Directory.value_or(""));
  if (Program_Id == TargetProgram::Chart) {
    AppendFlags<ChartDisplaySettings>(text, kChartDisplayKeys, ChartDisplay);
  } else if (Program_Id == TargetProgram::Radar) {
    AppendFlags<RadarDisplaySettings>(text, kRadarDisplayKeys, RadarDisplay);
    AppendRadarSections(text);
  }
  return text;
}

void CFG_File_Reader::AppendRadarSections(std::string& text) const {
  AppendLine(text, "");
  AppendLine(text, "[Colors Settings]", {},
             "Please don't change any number or value in this section.");
  for (const ColorKey& entry : kColorKeys) {
    AppendLine(text, std::string(entry.key) + "=", std::to_string(Colors.*entry.field));
  }
  AppendLine(text, "");
  AppendLine(text, "[Traffic Settings]");
  AppendLine(text, "Enable_Traffic_Sound=", FlagText(Enable_Traffic_Sound));
  AppendLine(text, "Traffic_Altitude_Diff=", std::to_string(Traffic_Altitude_Diff),
             "In feet. This number MUST BE bettween 0 and 9000 feet.");
  AppendLine(text, "Traffic_Separation=", std::to_string(Traffic_Separation),
             "In miles. This number MUST BE bettween 0 and 5 miles.");
  AppendLine(text, "");
  AppendLine(text, "[Flights Settings]");
  AppendLine(text, "Notify_Arrival_FPs=", FlagText(Notify_Arrival_FPs));
  AppendLine(text, "");
  AppendLine(text, "[Mouse Settings]");
  AppendLine(text, "Mouse_Pointer=", std::to_string(Mouse_Pointer),
             "This value can be: 0 -> Default, 1 -> Cross");
}

CfgResult CFG_File_Reader::WriteProgramConfig(const fs::path& file) const {
  try {
    const fs::path resolved = platform::MatchLetterCase(file);
    if (!platform::IsFile(resolved)) return CfgResult::Failed;
    return platform::ReplaceFileContents(resolved, ProgramConfigText()) ? CfgResult::Failed
                                                                        : CfgResult::Ok;
  } catch (const std::bad_alloc&) {
    return CfgResult::Failed;
  }
}

bool CFG_File_Reader::HasSimulator() const {
  return FS_Directory && !FS_Directory->empty() && FS_Version != FsVersion::None;
}

void CFG_File_Reader::SetFirstUseDefaults() {
  if (Program_Id == TargetProgram::Chart) {
    SetAllFlags<ChartDisplaySettings>(kChartDisplayKeys, ChartDisplay);
  } else if (Program_Id == TargetProgram::Radar) {
    SetAllFlags<RadarDisplaySettings>(kRadarDisplayKeys, RadarDisplay);
    Enable_Traffic_Sound = 0;
    Traffic_Altitude_Diff = 2000;
    Traffic_Separation = 3;
    Notify_Arrival_FPs = 1;
    Mouse_Pointer = 1;
    for (const ColorKey& entry : kColorKeys) Colors.*entry.field = entry.first_use;
  }
}

fs::path CFG_File_Reader::SimulatorFolder(const fs::path& target_folder) const {
  if (!FS_Directory || FS_Directory->empty()) return {};
  return platform::ResolvePath(*FS_Directory, target_folder);
}

void CFG_File_Reader::ReleaseSceneryAreas() { SceneryAreas = std::vector<SceneryArea>(); }

}  // namespace tarnvale
