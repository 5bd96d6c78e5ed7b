// The scan report as JSON: what `tarnvale-cli create --report` writes and
// what every run keeps in the user's state folder.
#pragma once

#include <nlohmann/json.hpp>

#include "app/run_summary.h"

namespace tarnvale {

// Top-level keys: simulator, fs_version, target, areas, files (passed
// over), files_read, duplicates, totals, times, warnings.
nlohmann::json ScanReportJson(const RunSummary& summary);

// {"file": path, "area": title} of file `file` of the scan's supplies; null
// when there is no such file.
nlohmann::json SuppliedFileJson(const ScanReport& scan, std::size_t file);

// ScanReportJson indented by two spaces. Paths and titles are bytes of the
// file system and of Scenery.cfg: text that is not UTF-8 is written with
// replacement characters rather than refused.
std::string ScanReportJsonText(const RunSummary& summary);

}  // namespace tarnvale
