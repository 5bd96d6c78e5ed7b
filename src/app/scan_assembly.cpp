// The parts of a run's scan report that come from Scenery.cfg's areas and
// from the database the run reads.
#include "app/scan_assembly.h"

#include "platform/code_page.h"
#include "platform/paths.h"
#include "platform/system.h"

namespace tarnvale {
namespace {

AreaScan PlannedScan(const SceneryArea& area, const std::filesystem::path& simulator) {
  AreaScan scan;
  // Scenery.cfg is 8-bit text in a Windows code page; shown as UTF-8.
  scan.title = platform::DisplayText(area.Title.value_or(""));
  scan.local = platform::DisplayText(area.LocalText);
  scan.folder = area.Local;
  if (scan.folder.empty() && !area.LocalText.empty()) {
    scan.folder = platform::ResolvePath(area.LocalText + "\\Scenery", simulator);
  }
  if (!area.Active) {
    scan.status = AreaStatus::Inactive;
  } else if (area.LocalTooLong) {
    scan.status = AreaStatus::TooLong;
  } else if (area.Local.empty() || !platform::CanEnterFolder(area.Local)) {
    scan.status = AreaStatus::Missing;
  }
  return scan;
}

bool Absent(const AreaScan& area) {
  return area.status == AreaStatus::Missing || area.status == AreaStatus::TooLong;
}

}  // namespace

ScanReport PlanScan(const std::vector<SceneryArea>& areas, const std::filesystem::path& simulator,
                    FsVersion fs_version, const std::filesystem::path& target) {
  ScanReport scan;
  scan.simulator = simulator;
  scan.fs_version = fs_version;
  scan.target = target;
  for (auto area = areas.rbegin(); area != areas.rend(); ++area) {
    scan.areas.push_back(PlannedScan(*area, simulator));
  }
  return scan;
}

std::vector<RecordCount> CountRecords(const NavDatabase& db, std::size_t first_airport) {
  std::size_t runways = 0;
  for (std::size_t a = first_airport; a < db.Airports.size(); ++a) {
    runways += db.Airports[a].Runways.size();
  }
  return {{"airports", db.Airports.size()},
          {"runways", runways},
          {"fuel areas", db.FuelAreas.size()},
          {"airspaces", db.Airspaces.size()},
          {"VORs", db.Vors.size()},
          {"NDBs", db.Ndbs.size()},
          {"markers", db.Markers.size()},
          {"ILS", db.Ilss.size()},
          {"intersections", db.Fixes.size()},
          {"jet airways", db.JetAirways.size()},
          {"victor airways", db.VictorAirways.size()}};
}

std::vector<RecordCount> RecordsAdded(const std::vector<RecordCount>& before,
                                      std::vector<RecordCount> after) {
  for (std::size_t i = 0; i < after.size(); ++i) after[i].count -= before[i].count;
  return after;
}

void NoteDuplicates(const NavDatabase& db, ScanReport& scan) {
  for (const FixedText<6>& ident : db.notes.duplicate_airports) {
    scan.duplicate_airports.emplace_back(TextOf(ident));
  }
  scan.duplicate_fixes = db.Fixes.size() - db.FixIndexSize();
}

std::string ActiveAreasText(const ScanReport& scan) {
  std::size_t active = 0;
  std::size_t missing = 0;
  for (const AreaScan& area : scan.areas) {
    active += area.status == AreaStatus::Inactive ? 0 : 1;
    missing += Absent(area) ? 1 : 0;
  }
  std::string text =
      std::to_string(active) + " active scenery areas of " + platform::Utf8Of(scan.simulator);
  if (missing != 0) text += " (" + std::to_string(missing) + " missing)";
  return text;
}

std::string NoAirportsWarning(const ScanReport& scan, const std::vector<RecordCount>& records) {
  if (records.empty() || records.front().count != 0) return {};
  return "Warning: no airports were found in the " + ActiveAreasText(scan) +
         ". Is this the simulator's main folder?";
}

void CompleteWarnings(ScanReport& scan, const std::vector<RecordCount>& records) {
  std::vector<std::string> warnings = ScanWarnings(scan);
  if (std::string no_airports = NoAirportsWarning(scan, records); !no_airports.empty()) {
    warnings.insert(warnings.begin(), std::move(no_airports));
  }
  warnings.insert(warnings.end(), scan.warnings.begin(), scan.warnings.end());
  scan.warnings = std::move(warnings);
}

}  // namespace tarnvale
