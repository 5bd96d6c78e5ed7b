// The scan report as JSON: what `tarnvale-cli create --report` writes and
// what every run keeps in the user's state folder.
#pragma once

#include <chrono>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "app/run_summary.h"

namespace tarnvale {

// Top-level keys: simulator, fs_version, target, areas, files (passed
// over), files_read (those that supplied records), files_read_without_records
// (a count), duplicates, totals, times, warnings, ending, finished
// (UTC, "2026-12-10T09:14:03Z"), written (each file's name and bytes), and
// comparison when the run replaced a set.
nlohmann::json ScanReportJson(const RunSummary& summary);

// {"file": path, "area": title} of file `file` of the scan's supplies; null
// when there is no such file.
nlohmann::json SuppliedFileJson(const ScanReport& scan, std::size_t file);

// "2026-12-10T09:14:03Z": a time as a report writes it.
std::string UtcText(std::chrono::system_clock::time_point time);
// "2026-12-10 09:14 UTC": a time as a person reads it.
std::string UtcMinuteText(std::chrono::system_clock::time_point time);

// A run read back from its report; std::nullopt when `report` is no report
// (a key missing or of the wrong type).
std::optional<RunSummary> RunSummaryFromJson(const nlohmann::json& report);

// ScanReportJson indented by two spaces. Paths and titles are bytes of the
// file system and of Scenery.cfg: text that is not UTF-8 is written with
// replacement characters rather than refused.
std::string ScanReportJsonText(const RunSummary& summary);

}  // namespace tarnvale
