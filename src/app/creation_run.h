// The creation run: reads the simulator's scenery library and every BGL file
// of its active areas into a fresh NavDatabase, binds ILS to runways and
// intersections to airways, writes the database files into a staging folder
// and puts them in the target program's folder as a whole set, and ends in
// exactly one closing sequence.
#pragma once

#include <stop_token>

#include "app/program_state.h"
#include "app/run_summary.h"
#include "app/run_view.h"

namespace tarnvale {

// Carries out one run with the settings, target folder and cancel flag of
// `state`, reporting through `view`. A stop requested on `halt` makes the run
// return at its next check point, dropping what it staged, without any
// further change to the old set or the view.
[[nodiscard]] RunSummary CreationRun(ProgramState& state, RunView& view,
                                     const std::stop_token& halt = {});

}  // namespace tarnvale
