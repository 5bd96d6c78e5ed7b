// Writes the NavDatabase as the database files of the target program and
// copies the simulator's magdec.bgl beside them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "domain/simulation.h"
#include "platform/progress.h"
#include "scenery/nav_database.h"

namespace tarnvale {

struct OutputSettings {
  TargetProgram Program = TargetProgram::None;
  FsVersion Version = FsVersion::None;
  std::string SimulatorFolder;         // as recorded in Program_Config.cfg
  std::filesystem::path TargetFolder;  // a relative simulator folder is taken from here
  std::filesystem::path OutputFolder;  // where the files go: the run's staging folder
  unsigned Threads = 1;                // files written at the same time
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
