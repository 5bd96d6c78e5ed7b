// The closing sequences of a creation run. Each gives the run's database
// back (counting what it held first, once the run has read any), leaves the
// window as that ending leaves it, shows the run's message, and returns
// what the run did.
#pragma once

#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "app/program_state.h"
#include "app/run_summary.h"
#include "app/run_view.h"
#include "output/database_set.h"
#include "scenery/nav_database.h"

namespace tarnvale {

// Empties the database and the scenery area list of the configuration, so
// that the next run starts from nothing.
void ReleaseDatabase(NavDatabase& db, ProgramState& state);

// Why a phase of the run stopped before its end.
enum class Interruption { None, Halt, Cancel, OutOfMemory, SystemFailure };

class RunEndings {
 public:
  // `view` drops its calls once `halt` is requested; `summary` is filled in
  // by the run as it goes, and handed back by the ending.
  RunEndings(ProgramState& state, RunView& view, std::stop_token halt, NavDatabase& db,
             RunSummary& summary)
      : state_(state), view_(view), halt_(std::move(halt)), db_(db), summary_(summary) {}

  // Counts what the database holds, and the duplicates it noted, before it
  // is released; later calls change nothing.
  void TakeRecords();

  // The new set stands, with `placed_files` among its database files. The
  // records were taken before the database went.
  RunSummary Success(const std::vector<std::string>& placed_files);
  // Whatever the writer staged is gone already; the old set stands.
  RunSummary Cancelled();
  // Nothing of the new set was put in place.
  RunSummary WriteFailed(const std::string& failure);
  // The replacement failed half-way and could not be undone: `detail` says
  // what the folder holds and who finishes it.
  RunSummary Unfinished(const std::string& detail);
  // Nothing was read, and the folder holds a set that has records: it stays.
  RunSummary NothingRead();
  // The system failed while a scenery file was read: the set would lack it.
  RunSummary ReadFailed(const SetFailure& failure);
  // Nothing was built, but the window stays usable for another run.
  RunSummary NoSceneryArea();
  // Blanks the simulator folder in Program_Config.cfg so that the next
  // start asks for it again, and closes the window. The database files stay
  // as they were.
  RunSummary StartError(std::string_view text, const std::string& detail);
  RunSummary OutOfMemory();
  RunSummary Halted();
  // The ending of a phase stopped by a halt, a cancel or memory running out.
  RunSummary Interrupted(Interruption stop);

 private:
  RunSummary Idle(RunEnding ending, std::string_view message);
  RunSummary WindowIdle(RunEnding ending, std::string_view message);
  RunSummary Finish(RunEnding ending, std::string_view message);

  ProgramState& state_;
  RunView& view_;
  const std::stop_token halt_;
  NavDatabase& db_;
  RunSummary& summary_;
};

}  // namespace tarnvale
