// The files a run writes into the target folder, one row each. Every list of
// them is derived from this table: the set a run replaces, the writer's
// steps and the names the reader knows, so a file added here is added to
// all of them. A kind added here that the writer or the reader does not
// handle fails the build: their switches over DatabaseFileKind name every
// kind.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "domain/simulation.h"
#include "scenery/records.h"

namespace tarnvale {

enum class DatabaseFileKind {
  Airports,
  FuelAreas,
  Airspaces,
  Navaids,
  Markers,
  Fixpoints,
  VictorAirways,
  JetAirways,
  MagneticDeclination,  // the copy of magdec.bgl: recognised, not parsed
};

struct OutputFileType {
  std::string_view name;
  DatabaseFileKind kind;
  // The kind bytes its records may hold; none where records have no kind.
  std::span<const RecordKind> record_kinds;
  bool size_is_length;  // each record's FileSize is its length in the file
  bool radar_only;      // the chart program does not get it
  // What the simulator's scenery must hold for the file to be written;
  // nullptr: every simulator's does.
  bool SimulatorTraits::*needs;
  bool bound;          // binding completes its records
  int write_position;  // the writer takes the files from position 1 up
};

template <RecordKind... kinds>
inline constexpr std::array<RecordKind, sizeof...(kinds)> kRecordKinds = {kinds...};

// In the order in which a run replaces the set.
inline constexpr auto kOutputFiles = std::to_array<OutputFileType>({
    {.name = "world_airports.dat",
     .kind = DatabaseFileKind::Airports,
     .record_kinds = kRecordKinds<RecordKind::Airport>,
     .size_is_length = true,
     .radar_only = false,
     .needs = nullptr,
     .bound = true,
     .write_position = 1},
    {.name = "world_navaids.dat",
     .kind = DatabaseFileKind::Navaids,
     .record_kinds = kRecordKinds<RecordKind::Vor, RecordKind::Ndb>,  // the VORs first
     .size_is_length = true,
     .radar_only = true,
     .needs = nullptr,
     .bound = false,
     .write_position = 4},
    {.name = "world_markers.dat",
     .kind = DatabaseFileKind::Markers,
     // An unrecognised marker type has FileSize 0: only the kind is checked.
     .record_kinds = kRecordKinds<RecordKind::Marker>,
     .size_is_length = false,
     .radar_only = true,
     .needs = nullptr,
     .bound = false,
     .write_position = 5},
    {.name = "world_fuel_areas.dat",
     .kind = DatabaseFileKind::FuelAreas,
     .record_kinds = kRecordKinds<RecordKind::FuelArea>,
     .size_is_length = false,
     .radar_only = false,
     .needs = &SimulatorTraits::fuel_areas,
     .bound = false,
     .write_position = 2},
    {.name = "additional_airspaces.dat",
     .kind = DatabaseFileKind::Airspaces,
     .record_kinds = {},
     .size_is_length = false,
     .radar_only = true,
     .needs = &SimulatorTraits::airspaces,
     .bound = false,
     .write_position = 3},
    {.name = "world_fixpoints.dat",
     .kind = DatabaseFileKind::Fixpoints,
     .record_kinds = kRecordKinds<RecordKind::Fix>,
     .size_is_length = false,
     .radar_only = true,
     .needs = nullptr,
     .bound = false,
     .write_position = 7},
    {.name = "world_airways_j.dat",
     .kind = DatabaseFileKind::JetAirways,
     .record_kinds = kRecordKinds<RecordKind::JetAirway>,
     .size_is_length = true,
     .radar_only = true,
     .needs = nullptr,
     .bound = true,
     .write_position = 9},
    {.name = "world_airways_v.dat",
     .kind = DatabaseFileKind::VictorAirways,
     .record_kinds = kRecordKinds<RecordKind::VictorAirway>,
     .size_is_length = true,
     .radar_only = true,
     .needs = nullptr,
     .bound = true,
     .write_position = 8},
    {.name = "magdec.bgl",
     .kind = DatabaseFileKind::MagneticDeclination,
     .record_kinds = {},
     .size_is_length = false,
     .radar_only = false,
     .needs = nullptr,
     .bound = false,
     .write_position = 6},
});

using OutputFileNames = std::array<std::string_view, kOutputFiles.size()>;
using OutputFileOrder = std::array<const OutputFileType*, kOutputFiles.size()>;

// The names of the files, in the order in which a run replaces the set.
constexpr OutputFileNames NamesOfOutputFiles() {
  OutputFileNames names{};
  std::ranges::transform(kOutputFiles, names.begin(), &OutputFileType::name);
  return names;
}

static_assert(
    [] {
      std::array<int, kOutputFiles.size()> positions{};
      std::ranges::transform(kOutputFiles, positions.begin(), &OutputFileType::write_position);
      std::ranges::sort(positions);
      for (std::size_t i = 0; i < positions.size(); ++i) {
        if (positions[i] != static_cast<int>(i) + 1) return false;
      }
      return true;
    }(),
    "the write positions number the files from 1 without a gap or a repeat");

// The files in the order in which the writer takes them.
constexpr OutputFileOrder OutputFilesInWriteOrder() {
  OutputFileOrder order{};
  for (const OutputFileType& file : kOutputFiles) {
    order[static_cast<std::size_t>(file.write_position - 1)] = &file;
  }
  return order;
}

// The row of `kind`.
constexpr const OutputFileType& OutputFileOf(DatabaseFileKind kind) {
  return *std::find_if(kOutputFiles.begin(), kOutputFiles.end(),
                       [kind](const OutputFileType& file) { return file.kind == kind; });
}

// True for a database file of records; false for the copy of magdec.bgl.
constexpr bool HoldsRecords(const OutputFileType& file) {
  return file.kind != DatabaseFileKind::MagneticDeclination;
}

// True when `program` gets the file from the scenery of `version` (if there
// are records for it). A version number later than every known one counts
// as the newest simulator.
constexpr bool ProgramGetsFile(const OutputFileType& file, TargetProgram program,
                               FsVersion version) {
  if (file.radar_only && program != TargetProgram::Radar) return false;
  if (file.needs == nullptr) return true;
  const SimulatorTraits* simulator = SimulatorTraitsCountedAs(version);
  return simulator != nullptr && simulator->*file.needs;
}

}  // namespace tarnvale
