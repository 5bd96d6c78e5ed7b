// What a creation run read of the scenery library, and what it passed over
// and why: the run's report, how the run fills it in, and its text. It is
// collected while the run reads and never changes the database files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/front_end.h"
#include "domain/simulation.h"
#include "platform/system_file.h"
#include "scenery/bgl_loader.h"

namespace tarnvale {

class NavDatabase;
struct SceneryArea;

struct RecordCount {
  std::string kind;  // "airports", "runways", "vors", ...
  std::size_t count = 0;
};

enum class AreaStatus {
  Read,      // active, and its folder was read
  Inactive,  // Active=FALSE: not read
  Missing,   // no Local, or its folder is not there or cannot be entered
  TooLong,   // its folder path is too long, so the area was dropped
  NotRead,   // the run ended (cancel, failure) before this area was read whole
};

struct AreaScan {
  std::string title;             // as written; empty when the area has none
  std::string local;             // the Local text as written
  std::filesystem::path folder;  // where its BGL files are (or would be)
  AreaStatus status = AreaStatus::Read;
  std::int32_t bgl_files = 0;
  std::vector<RecordCount> records;  // added by this area, per kind
};

// A file read less than whole (FileStatus other than Read).
struct FileScan {
  std::filesystem::path path;
  FileStatus status = FileStatus::Read;
  std::size_t skipped = 0;  // records and table entries passed over
};

// One scenery file the run read, with the records of each kind it supplied:
// those that stand in the database, and those that a rule dropped.
struct FileSupply {
  std::filesystem::path path;
  std::size_t area = 0;              // index into ScanReport::areas
  std::vector<RecordCount> kept;     // kinds with any, in CountRecords order
  std::vector<RecordCount> dropped;  // airports: read before, or of a later format
  // Intersections it supplied whose key a later one took over: they stay in
  // the files, but airways find the later one.
  std::size_t taken_over = 0;
  // Its size and time when the run opened it; none when it could not be.
  std::optional<platform::FileStamp> stamp;
  // Nothing supplied, dropped or taken over: a terrain or object file, say.
  bool Empty() const { return kept.empty() && dropped.empty() && taken_over == 0; }
};

// Why one record of an ident gave way to another.
enum class DuplicateRule {
  FirstAirportStays,  // FS2004: a later airport of an ident is dropped
  LastFixIsFound,     // a later intersection of a key takes it over in the index
  LastIlsDecides,     // binding: of the ILS that bind to a runway end, the last
};
std::string_view DuplicateRuleName(DuplicateRule rule);  // "first-airport-stays", ...
std::string_view DuplicateRuleText(DuplicateRule rule);  // the rule in a sentence

// A record that gave way to another of the same ident, with both files
// (indices into ScanReport::supplies).
struct DuplicateScan {
  std::string kind;  // "airport" or "intersection"
  std::string ident;
  DuplicateRule rule = DuplicateRule::FirstAirportStays;
  std::size_t winner = 0;
  std::size_t loser = 0;
};

struct ScanReport {
  std::filesystem::path simulator;
  FsVersion fs_version = FsVersion::None;
  std::filesystem::path target;
  std::vector<AreaScan> areas;  // in the order the run reads them: last listed first
  std::vector<FileScan> files;
  // FS2004 airports dropped because an earlier file had the same ident.
  std::vector<std::string> duplicate_airports;
  // Intersections whose key an earlier intersection already had; the later
  // one is the one airways find.
  std::size_t duplicate_fixes = 0;
  // Every file read, in reading order, and every duplicate with the file
  // that won and the file that lost.
  std::vector<FileSupply> supplies;
  std::vector<DuplicateScan> duplicates;
  std::vector<std::string> warnings;
};

// "/sim/Scenery/World/scenery/a.bgl (World)": file `file` of the scan's
// supplies and the title of the area that read it, since two areas may
// read one folder.
std::string SuppliedFileName(const ScanReport& scan, std::size_t file);

std::string_view AreaStatusName(AreaStatus status);  // "read", "inactive", ...
std::string_view FileStatusName(FileStatus status);  // "unreadable", "short", ...

// The warnings a scan gives by itself: most active areas without a folder,
// titles that are string-table references, a folder read by several areas.
std::vector<std::string> ScanWarnings(const ScanReport& scan);

// The short account for the end of a run: areas by status with the first
// missing ones named, files passed over with the first few named, and
// duplicates. Empty when no area was looked at.
std::vector<std::string> ScanOverviewLines(const ScanReport& scan);

// ScanOverviewLines followed by the warnings.
std::vector<std::string> ScanSummaryLines(const ScanReport& scan);

// The whole report as plain text, one line per area and per file passed
// over, for reading in a window or saving.
std::string ScanReportText(const ScanReport& scan, const std::vector<RecordCount>& totals);

// How a run fills in its report: the areas it is to read, the records each
// area adds, the duplicates the database noted, and the warnings of the end.

// Every area of `areas` (as Scenery.cfg lists them) in the order the run
// reads them, from the last to the first, with what the run makes of it. A
// missing area folder whose name is found in another code page gives a
// warning that says which to choose, in the words of `front_end`.
ScanReport PlanScan(const std::vector<SceneryArea>& areas, const std::filesystem::path& simulator,
                    FsVersion fs_version, const std::filesystem::path& target,
                    FrontEnd front_end = FrontEnd::CommandLine);

// "Warning: a folder named 'Česko' exists: choose code page 1250", then how
// (" (--code-page 1250)." or " (File > Code Page)."), for an area of
// `local_text` (as written) whose folder was found in another code page.
std::optional<std::string> CodePageWarning(std::string_view local_text,
                                           const std::filesystem::path& simulator,
                                           FrontEnd front_end);

// The records of each kind, airports first; runways are counted over the
// airports from `first_airport` on, so that an area's count does not walk
// every airport read before it.
std::vector<RecordCount> CountRecords(const NavDatabase& db, std::size_t first_airport = 0);

// The records of each kind that `after` holds beyond `before` (both from
// CountRecords, so in the same order).
std::vector<RecordCount> RecordsAdded(const std::vector<RecordCount>& before,
                                      std::vector<RecordCount> after);

// The FS2004 airports the database dropped as read before, the
// intersections whose key an earlier one had, what each file read supplied
// (the database has marked each, NavDatabase::BeginFile, as the scan's
// `supplies` list them) and each duplicate's winning and losing file.
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
