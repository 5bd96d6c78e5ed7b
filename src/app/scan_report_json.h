// The scan report as JSON: what `tarnvale-cli create --report` writes and
// what every run keeps in the user's state folder.
#pragma once

#include <nlohmann/json.hpp>

#include "app/run_summary.h"

namespace tarnvale {

// Top-level keys: simulator, fs_version, target, areas, files, duplicates,
// totals, times, warnings, and comparison when the run replaced a set.
nlohmann::json ScanReportJson(const RunSummary& summary);

// ScanReportJson indented by two spaces. Paths and titles are bytes of the
// file system and of Scenery.cfg: text that is not UTF-8 is written with
// replacement characters rather than refused.
std::string ScanReportJsonText(const RunSummary& summary);

}  // namespace tarnvale
