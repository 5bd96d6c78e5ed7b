// How a creation run fills in its scan report: the areas it is to read, the
// records each area adds, the duplicates the database noted, and the
// warnings of the end.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "app/scan_report.h"
#include "config/cfg_file_reader.h"
#include "domain/simulation.h"
#include "scenery/nav_database.h"

namespace tarnvale {

// Every area of `areas` (as Scenery.cfg lists them) in the order the run
// reads them, from the last to the first, with what the run makes of it.
ScanReport PlanScan(const std::vector<SceneryArea>& areas, const std::filesystem::path& simulator,
                    FsVersion fs_version, const std::filesystem::path& target);

// The records of each kind, airports first; runways are counted over the
// airports from `first_airport` on, so that an area's count does not walk
// every airport read before it.
std::vector<RecordCount> CountRecords(const NavDatabase& db, std::size_t first_airport = 0);

// The records of each kind that `after` holds beyond `before` (both from
// CountRecords, so in the same order).
std::vector<RecordCount> RecordsAdded(const std::vector<RecordCount>& before,
                                      std::vector<RecordCount> after);

// The FS2004 airports the database dropped as read before, and the
// intersections whose key an earlier one had.
void NoteDuplicates(const NavDatabase& db, ScanReport& scan);

// "13 active scenery areas of /sim (13 missing)": what the areas gave.
std::string ActiveAreasText(const ScanReport& scan);

// For a run whose database, counted into `records` before it was released,
// holds no airport: that usually means the wrong simulator folder. Empty
// when it has airports or was not counted.
std::string NoAirportsWarning(const ScanReport& scan, const std::vector<RecordCount>& records);

// At the end of a run: puts the no-airports warning and the scan's own
// (ScanWarnings) before the warnings the report holds already, those that
// writing the set noticed.
void CompleteWarnings(ScanReport& scan, const std::vector<RecordCount>& records);

}  // namespace tarnvale
