// The one program state that the window (or the command line) owns and
// passes by reference: the target program's settings and the scenery area
// list, the target folder, the cancel flag, the worker and what the last run
// did.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>

#include "app/front_end.h"
#include "app/run_summary.h"
#include "app/run_view.h"
#include "app/run_worker.h"
#include "config/cfg_file_reader.h"
#include "platform/folder_lock.h"

namespace tarnvale {

struct ProgramState {
  // Settings of Program_Config.cfg (TargetProgram, FsVersion, SimulatorFolder
  // and the target program's own settings) and the run's SceneryAreas.
  CFG_File_Reader config;
  // The target program's folder, holding Program_Config.cfg.
  std::filesystem::path TargetFolder;
  // The simulator in `config` was chosen for this program (by --simulator or
  // "Change Program or Simulator...") but is not in Program_Config.cfg yet:
  // the next run records it together with the database set built from it,
  // so that the settings always name the simulator of the set that stands.
  bool simulator_pending = false;
  // Set by "Cancel Database Creation", cleared when a run starts and by the
  // success and cancel endings.
  CancelFlag cancel{false};
  // Written by the worker just before it ends; read after Join or Halt.
  std::optional<RunSummary> last_run;
  // Threads that read scenery files and write database files; 0: one per
  // core. A run whose database allocations a test fails
  // (platform::FaultSite::DatabaseAllocation) works on one thread, so that
  // the failure comes at the same allocation each time.
  unsigned threads = 0;
  // Whose words the run's warnings use.
  FrontEnd front_end = FrontEnd::CommandLine;
  // Where each run keeps a copy of its report (ReportArchiveFolder() for
  // the front ends); empty: nowhere.
  std::filesystem::path report_archive;
  // Held while start-up or a run works on the target folder, so that no
  // other run (of this or another process) changes its files meanwhile.
  std::optional<platform::FolderLock> target_lock;
  // Declared last: destroyed first, so a run still going is halted while the
  // state it uses is alive.
  RunWorker worker;
};

}  // namespace tarnvale
