// The reading phase of a creation run: the scenery files of the areas its
// scan reads, loaded into the run's database in the scan's order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stop_token>
#include <vector>

#include "app/program_state.h"
#include "app/run_endings.h"
#include "app/run_view.h"
#include "app/scan_report.h"
#include "config/cfg_file_reader.h"
#include "domain/simulation.h"
#include "output/database_set.h"
#include "platform/directory_search.h"
#include "scenery/bgl_loader.h"
#include "scenery/nav_database.h"

namespace tarnvale {

class ParallelLoader;

// FS_Directory as a path of this machine; a relative one is taken against
// the target folder, where the window stands when a run starts. Empty when
// none is recorded.
std::filesystem::path SimulatorFolderOf(const ProgramState& state);

// Binding after reading: each step, with its status text, when both lists it
// joins have records. None, or why a step stopped: a halt requested on
// `halt`, else the cancel flag.
Interruption BindRecords(NavDatabase& db, RunView& view, const CancelFlag& cancel,
                         const std::stop_token& halt);

// Counts, then loads into the database, the scenery files of the areas the
// scan reads. While loading, the title of each active area with a folder
// goes to the status line, the bar steps once per file, and a halt or
// cancel is looked for before each file. What each area added and each file
// lacked goes into the scan; when reading stops, the areas not read whole
// are marked so.
class SceneryReading {
 public:
  SceneryReading(NavDatabase& db, FsVersion fs_version, RunView& view, std::stop_token halt,
                 const CancelFlag& cancel, ScanReport& scan);

  // Lists the scenery files of each area that is read (none for the
  // others), in scan order, noting each area's count in the scan; the
  // folders are listed on `threads` threads at once.
  std::vector<platform::FolderMatches> ListFiles(unsigned threads);
  // The bar for reading `count` files. It has two more steps than files, so
  // it stops short of full after reading.
  void PrepareProgressBar(std::int32_t count);

  // `areas` as Scenery.cfg lists them, which the scan holds last first;
  // `files` from ListFiles, whose paths the scan's supplies take over as
  // the files are read. With more than one thread the files are read
  // ahead on a pool and their records appended in the same order.
  Interruption Read(const std::vector<SceneryArea>& areas,
                    std::vector<platform::FolderMatches> files, unsigned threads);

  // After Interruption::SystemFailure: the file whose reading the system
  // failed.
  const SetFailure& SystemFailure() const { return *system_failure_; }

 private:
  Interruption ReadArea(std::size_t area, platform::FolderMatches& matches, ParallelLoader* pool);
  Interruption LoadFile(const std::filesystem::path& file, FileReading& reading);
  Interruption TakeLoadedFile(ParallelLoader& pool, FileReading& reading);
  Interruption CheckPoint() const;

  NavDatabase& db_;
  const FsVersion fs_version_;
  RunView& view_;
  const std::stop_token halt_;
  const CancelFlag& cancel_;
  ScanReport& scan_;
  std::optional<SetFailure> system_failure_;
};

}  // namespace tarnvale
