// The two choices that shape a whole run: which simulator's scenery is read
// and which sibling program the database files are written for.
//
// Program_Config.cfg keeps both as numbers (FS_Version, Program_Id) and may
// hold any 16-bit number there; a value without a name below is carried as
// read, so that rewriting the file gives it back unchanged. Numbers become
// these values only where text is read: the settings file, command-line
// options, the dialogs and the scenery builder's presets.
#pragma once

#include <cstdint>
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

// The simulator's program file, which marks its main folder: "fs9.exe" for
// FS2004, "fs2002.exe" for FS2002, empty for any other version.
constexpr std::string_view SimulatorProgramFile(FsVersion version) {
  if (version == FsVersion::Fs2004) return "fs9.exe";
  if (version == FsVersion::Fs2002) return "fs2002.exe";
  return {};
}

// True for the two simulators whose scenery can be read.
constexpr bool IsReadableSimulator(FsVersion version) {
  return version == FsVersion::Fs2002 || version == FsVersion::Fs2004;
}

}  // namespace tarnvale
