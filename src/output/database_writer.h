// Writes the NavDatabase as the database files of the target program and
// copies the simulator's magdec.bgl beside them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/progress.h"
#include "scenery/nav_database.h"

namespace tarnvale {

struct OutputSettings {
  std::int16_t TargetProgram = 0;  // 1 chart program, 2 radar program
  std::int16_t FsVersion = 0;      // 8 FS2002, 9 FS2004
  std::string SimulatorFolder;     // as recorded in Program_Config.cfg
  std::filesystem::path TargetFolder;  // a relative simulator folder is taken from here
  std::filesystem::path OutputFolder;  // where the files go: the run's staging folder
};

struct WriteResult {
  enum class Status { Written, Cancelled, Failed };
  Status status = Status::Written;
  std::string failure;  // for Failed: one line per file that could not be written
};

// Writes every file of the set that the settings call for into the output
// folder (new files, replacing any of the same name, each flushed to disk)
// and copies magdec.bgl beside them. Tests `cancel` before each step; on
// Cancelled the caller drops what was written and takes the cancel ending.
// A file that cannot be created or fully written (an incomplete one is
// removed), or a failed copy, makes the result Failed; the remaining steps
// are still carried out.
WriteResult WriteDatabaseFiles(NavDatabase& db, ProgressView& view, const OutputSettings& settings,
                               const CancelFlag& cancel);

}  // namespace tarnvale
