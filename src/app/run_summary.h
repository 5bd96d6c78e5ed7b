// How a creation run ended and what it did, for the front ends to print.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/scan_report.h"

namespace tarnvale {

enum class RunEnding {
  Success,        // files written, success message shown
  Cancelled,      // cancel noticed at a check point, cancel message shown
  StartError,     // simulator folder or its Scenery.cfg unusable; the window closes
  OutOfMemory,    // memory ran out while reading; the window closes
  NoSceneryArea,  // Scenery.cfg lists no area: nothing built, window back to idle
  WriteFailed,    // a database file or magdec.bgl could not be written
  NothingRead,    // no record was read: the old set, which has records, stays
  ReadFailed,     // the system (not a file) failed while scenery was read: nothing written
  Halted,         // stopped from outside; the worker touched nothing afterwards
};

// "success", "cancelled", ...: how a report names the ending.
std::string_view RunEndingName(RunEnding ending);

struct WrittenFile {
  std::string name;
  std::uintmax_t bytes = 0;
};

struct PhaseTimes {
  std::chrono::nanoseconds counting{};
  std::chrono::nanoseconds loading{};
  std::chrono::nanoseconds binding{};
  std::chrono::nanoseconds writing{};
};

// What a run did.
struct RunSummary {
  RunEnding ending = RunEnding::Success;
  std::string message;               // the message shown at the end (empty when halted)
  std::int32_t bgl_files = 0;        // files counted in the active areas
  std::vector<RecordCount> records;  // taken before the database was released
  std::vector<WrittenFile> files;    // output files present in the target folder at the end
  PhaseTimes times;
  std::chrono::system_clock::time_point finished{};  // when the run ended
  ScanReport scan;                                   // what was read, passed over and why
  std::filesystem::path kept_report;  // the report's copy in the state folder, if any
};

}  // namespace tarnvale
