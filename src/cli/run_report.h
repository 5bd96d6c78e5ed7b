// What the command line prints at the end of a creation run.
#pragma once

#include <cstddef>
#include <filesystem>
#include <ostream>
#include <string_view>

#include "app/run_summary.h"

namespace tarnvale::cli {

// Records per kind, files written in `target_folder` with their sizes, the
// time of each phase and the scan's overview on `out`; the scan's warnings
// on `warnings`.
void PrintRunReport(const RunSummary& summary, const std::filesystem::path& target_folder,
                    std::ostream& out, std::ostream& warnings);

// One "  kind    count" line of a table of counts.
void PrintCount(std::ostream& out, std::string_view kind, std::size_t count);

// The exit status for the way the run ended.
int ExitCodeOf(RunEnding ending);

}  // namespace tarnvale::cli
