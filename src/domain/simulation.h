// The two choices that shape a whole run: which simulator's scenery is read
// and which sibling program the database files are written for.
//
// Program_Config.cfg keeps both as numbers (FS_Version, Program_Id) and may
// hold any 16-bit number there; a value without a name below is carried as
// read, so that rewriting the file gives it back unchanged. Numbers become
// these values only where text is read: the settings file, command-line
// options, the dialogs and the scenery builder's presets.
//
// What each readable simulator version brings with it (its program file,
// its names, what its scenery holds) stands in one table, kSimulators.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnvale {

enum class FsVersion : std::int16_t {
  None = 0,    // no simulator chosen yet
  Fs2002 = 8,  // Microsoft Flight Simulator 2002
  Fs2004 = 9,  // Microsoft Flight Simulator 2004
};

enum class TargetProgram : std::int16_t {
  None = 0,
  Chart = 1,  // the chart program, in either of its editions
  Radar = 2,  // the radar program
};

constexpr std::int16_t ToNumber(FsVersion version) { return static_cast<std::int16_t>(version); }
constexpr std::int16_t ToNumber(TargetProgram program) {
  return static_cast<std::int16_t>(program);
}

// Every 16-bit number stands for a value; those without a name are kept.
constexpr FsVersion FsVersionFromNumber(std::int16_t number) {
  return static_cast<FsVersion>(number);
}
constexpr TargetProgram TargetProgramFromNumber(std::int16_t number) {
  return static_cast<TargetProgram>(number);
}

// How a simulator's scenery files are laid out, which chooses their decoder.
enum class BglLayout {
  Facility,   // FS2002: facility, VOR and NDB files of chunks
  Sectioned,  // FS2004: a header with the 0x1992 mark, then sections
};

// What sets one simulator version apart: where its files lie, how it is
// named, and what its scenery holds. Every such fact is read from here.
struct SimulatorTraits {
  FsVersion version;
  BglLayout bgl_layout;
  std::string_view program_file;  // marks its main folder: "fs9.exe"
  // Its magdec.bgl below the main folder, in Windows form.
  std::string_view magnetic_declination;
  std::string_view display_name;    // "Microsoft Flight Simulator 2004"
  std::string_view short_name;      // "FS2004", in messages
  std::string_view install_folder;  // the main folder's name as its installer makes it
  std::string_view chart_folder;    // the folder of the chart program's edition for it
  bool fuel_areas;                  // its scenery holds fuel areas
  bool airspaces;                   // its scenery holds airspace boundaries
  bool unique_airport_idents;       // of the airports sharing an ident, the first read stands
};

// The simulators whose scenery can be read, oldest first: the order in which
// the simulator dialog offers them.
inline constexpr std::array<SimulatorTraits, 2> kSimulators = {{
    {.version = FsVersion::Fs2002,
     .bgl_layout = BglLayout::Facility,
     .program_file = "fs2002.exe",
     .magnetic_declination = "\\scenery\\magdec.bgl",
     .display_name = "Microsoft Flight Simulator 2002",
     .short_name = "FS2002",
     .install_folder = "FS2002",
     .chart_folder = "Brisolt (FS2002)",
     .fuel_areas = false,
     .airspaces = false,
     .unique_airport_idents = false},
    {.version = FsVersion::Fs2004,
     .bgl_layout = BglLayout::Sectioned,
     .program_file = "fs9.exe",
     .magnetic_declination = "\\Scenery\\BASE\\Scenery\\magdec.bgl",
     .display_name = "Microsoft Flight Simulator 2004",
     .short_name = "FS2004",
     .install_folder = "Flight Simulator 9",
     .chart_folder = "Brisolt (FS2004)",
     .fuel_areas = true,
     .airspaces = true,
     .unique_airport_idents = true},
}};

// The traits of `version`; nullptr for a version whose scenery cannot be read.
constexpr const SimulatorTraits* SimulatorTraitsOf(FsVersion version) {
  for (const SimulatorTraits& simulator : kSimulators) {
    if (simulator.version == version) return &simulator;
  }
  return nullptr;
}

// The traits that `version` counts as where a later simulator is taken for
// the newest one known: those of the newest version whose number is not
// above its own; nullptr when every known number is above it.
constexpr const SimulatorTraits* SimulatorTraitsCountedAs(FsVersion version) {
  const SimulatorTraits* counted = nullptr;
  for (const SimulatorTraits& simulator : kSimulators) {
    if (ToNumber(simulator.version) <= ToNumber(version)) counted = &simulator;
  }
  return counted;
}

// The yes-or-no trait `fact` of `version`; false for a version whose
// scenery cannot be read.
constexpr bool SimulatorHas(FsVersion version, bool SimulatorTraits::*fact) {
  const SimulatorTraits* simulator = SimulatorTraitsOf(version);
  return simulator != nullptr && simulator->*fact;
}

// True for the simulators whose scenery can be read.
constexpr bool IsReadableSimulator(FsVersion version) {
  return SimulatorTraitsOf(version) != nullptr;
}

// The simulator's program file, which marks its main folder ("fs9.exe");
// empty for a version whose scenery cannot be read.
constexpr std::string_view SimulatorProgramFile(FsVersion version) {
  const SimulatorTraits* simulator = SimulatorTraitsOf(version);
  return simulator ? simulator->program_file : std::string_view();
}

// The versions to choose from, for messages: "8 (FS2002) or 9 (FS2004)".
inline std::string SimulatorChoicesText() {
  std::string text;
  for (std::size_t i = 0; i < kSimulators.size(); ++i) {
    if (i > 0) text += i + 1 == kSimulators.size() ? " or " : ", ";
    text.append(std::to_string(ToNumber(kSimulators[i].version)))
        .append(" (")
        .append(kSimulators[i].short_name)
        .append(")");
  }
  return text;
}

}  // namespace tarnvale
