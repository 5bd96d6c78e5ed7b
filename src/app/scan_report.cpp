// The run's scan report: filled in from Scenery.cfg's areas and the
// database the run reads, and told as lines and as text.
#include "app/scan_report.h"

#include <algorithm>
#include <map>
#include <optional>

#include "config/cfg_file_reader.h"
#include "config/cfg_line_rules.h"
#include "platform/code_page.h"
#include "platform/paths.h"
#include "platform/system.h"
#include "scenery/nav_database.h"

namespace tarnvale {
namespace {

constexpr std::size_t kNamesShown = 3;

std::size_t CountAreas(const ScanReport& scan, AreaStatus status) {
  std::size_t count = 0;
  for (const AreaScan& area : scan.areas) count += area.status == status ? 1 : 0;
  return count;
}

// No folder to read: missing, or its path too long.
bool Absent(const AreaScan& area) {
  return area.status == AreaStatus::Missing || area.status == AreaStatus::TooLong;
}

// "A, B, C and 4 more" from the first few of `names`.
std::string FirstNames(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i) {
    if (i != 0) text += ", ";
    text += names[i];
  }
  if (names.size() > kNamesShown) {
    text += ", ... and " + std::to_string(names.size() - kNamesShown) + " more";
  }
  return text;
}

// "Eastern Europe (Scenery\0601)": the title, then the Local text that
// tells the user which folder it is.
std::string AreaName(const AreaScan& area) {
  const std::string title = area.title.empty() ? "(no title)" : area.title;
  return area.local.empty() ? title : title + " (" + area.local + ")";
}

bool StringTableTitle(const std::string& title) { return !title.empty() && title.front() == '@'; }

std::string AreasLine(const ScanReport& scan) {
  std::string line = "Areas: " + std::to_string(CountAreas(scan, AreaStatus::Read)) + " read";
  std::vector<std::string> unread;
  for (AreaStatus status :
       {AreaStatus::NotRead, AreaStatus::Inactive, AreaStatus::Missing, AreaStatus::TooLong}) {
    const std::size_t count = CountAreas(scan, status);
    if (count != 0)
      line += ", " + std::to_string(count) + " " + std::string(AreaStatusName(status));
  }
  for (const AreaScan& area : scan.areas) {
    if (Absent(area)) unread.push_back(AreaName(area));
  }
  return unread.empty() ? line : line + ": " + FirstNames(unread);
}

std::string FilesLine(const ScanReport& scan) {
  std::map<FileStatus, std::size_t> counts;
  std::vector<std::string> names;
  for (const FileScan& file : scan.files) {
    ++counts[file.status];
    names.push_back(platform::Utf8Of(file.path.filename()) + " (" +
                    std::string(FileStatusName(file.status)) + ")");
  }
  std::string line = "Files passed over: ";
  for (const auto& [status, count] : counts) {
    if (status != counts.begin()->first) line += ", ";
    line += std::to_string(count) + " " + std::string(FileStatusName(status));
  }
  return line + ": " + FirstNames(names);
}

std::string DuplicatesLine(const ScanReport& scan) {
  std::vector<std::string> parts;
  if (!scan.duplicate_airports.empty()) {
    parts.push_back(std::to_string(scan.duplicate_airports.size()) +
                    " airports dropped as read before (" + FirstNames(scan.duplicate_airports) +
                    ")");
  }
  if (scan.duplicate_fixes != 0) {
    parts.push_back(std::to_string(scan.duplicate_fixes) + " intersections with a key read before");
  }
  std::string line = "Duplicates: ";
  for (const std::string& part : parts) {
    if (&part != &parts.front()) line += "; ";
    line += part;
  }
  return line;
}

// "3 airports, 1 VORs".
std::string CountsText(const std::vector<RecordCount>& counts) {
  std::string text;
  for (const RecordCount& count : counts) {
    if (!text.empty()) text += ", ";
    text += std::to_string(count.count) + " " + count.kind;
  }
  return text;
}

std::string DuplicatesText(const ScanReport& scan) {
  if (scan.duplicates.empty()) return {};
  std::string text = "\nDuplicates, with the file that won and the file that lost:\n";
  for (const DuplicateScan& duplicate : scan.duplicates) {
    text += "  " + duplicate.kind + " " + duplicate.ident + ": won " +
            SuppliedFileName(scan, duplicate.winner) + ", lost " +
            SuppliedFileName(scan, duplicate.loser) + " (" +
            std::string(DuplicateRuleText(duplicate.rule)) + ")\n";
  }
  return text;
}

std::string SuppliesText(const ScanReport& scan) {
  if (scan.supplies.empty()) return {};
  std::string text = "\nFiles read, with the records each supplied:\n";
  std::size_t empty = 0;
  for (const FileSupply& supply : scan.supplies) {
    if (supply.Empty()) {
      ++empty;
      continue;
    }
    text += "  " + platform::Utf8Of(supply.path) + ": ";
    text += supply.kept.empty() ? "nothing kept" : CountsText(supply.kept);
    if (!supply.dropped.empty()) text += "; dropped " + CountsText(supply.dropped);
    if (supply.taken_over != 0) {
      text += "; " + std::to_string(supply.taken_over) + " intersections taken over";
    }
    text += "\n";
  }
  if (empty != 0) text += "  " + std::to_string(empty) + " other files: nothing\n";
  return text;
}

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

}  // namespace

std::string_view AreaStatusName(AreaStatus status) {
  switch (status) {
    case AreaStatus::Read:
      return "read";
    case AreaStatus::Inactive:
      return "inactive";
    case AreaStatus::Missing:
      return "missing";
    case AreaStatus::TooLong:
      return "too-long";
    case AreaStatus::NotRead:
      return "not-read";
  }
  return "read";
}

std::string_view FileStatusName(FileStatus status) {
  switch (status) {
    case FileStatus::Read:
      return "read";
    case FileStatus::Unreadable:
      return "unreadable";
    case FileStatus::Short:
      return "short";
    case FileStatus::NotBgl:
      return "not-bgl";
    case FileStatus::Damaged:
      return "damaged";
    case FileStatus::LaterFormat:
      return "later-format";
  }
  return "read";
}

std::vector<std::string> ScanWarnings(const ScanReport& scan) {
  std::vector<std::string> warnings;
  const std::size_t active = scan.areas.size() - CountAreas(scan, AreaStatus::Inactive);
  const std::size_t absent =
      CountAreas(scan, AreaStatus::Missing) + CountAreas(scan, AreaStatus::TooLong);
  if (active != 0 && 2 * absent > active) {
    warnings.push_back("Warning: " + std::to_string(absent) + " of the " + std::to_string(active) +
                       " active scenery areas have no folder in " +
                       platform::Utf8Of(scan.simulator) +
                       ". Is the simulator's scenery installed there?");
  }
  std::vector<std::string> string_table;
  std::map<std::filesystem::path, std::vector<std::string>> readers;
  for (const AreaScan& area : scan.areas) {
    if (StringTableTitle(area.title)) string_table.push_back(AreaName(area));
    if (area.status == AreaStatus::Read) readers[area.folder].push_back(AreaName(area));
  }
  if (!string_table.empty()) {
    const bool one = string_table.size() == 1;
    warnings.push_back("Warning: " + std::to_string(string_table.size()) +
                       (one ? " area title is a string-table reference"
                            : " area titles are string-table references") +
                       ", shown as written: " + FirstNames(string_table));
  }
  for (const auto& [folder, areas] : readers) {
    if (areas.size() < 2) continue;
    warnings.push_back("Warning: the folder " + platform::Utf8Of(folder) + " is listed by " +
                       std::to_string(areas.size()) + " areas (" + FirstNames(areas) +
                       "); its records are read once for each.");
  }
  return warnings;
}

std::vector<std::string> ScanOverviewLines(const ScanReport& scan) {
  std::vector<std::string> lines;
  if (scan.areas.empty()) return lines;
  lines.push_back(AreasLine(scan));
  if (!scan.files.empty()) lines.push_back(FilesLine(scan));
  if (!scan.duplicate_airports.empty() || scan.duplicate_fixes != 0) {
    lines.push_back(DuplicatesLine(scan));
  }
  return lines;
}

std::vector<std::string> ScanSummaryLines(const ScanReport& scan) {
  std::vector<std::string> lines = ScanOverviewLines(scan);
  lines.insert(lines.end(), scan.warnings.begin(), scan.warnings.end());
  return lines;
}

std::string ScanReportText(const ScanReport& scan, const std::vector<RecordCount>& totals) {
  std::string text = "Simulator: " + platform::Utf8Of(scan.simulator) + " (FS_Version " +
                     std::to_string(ToNumber(scan.fs_version)) +
                     ")\nTarget: " + platform::Utf8Of(scan.target) + "\n";
  for (const std::string& line : ScanSummaryLines(scan)) text += line + "\n";
  text += "\nRecords:\n";
  for (const RecordCount& count : totals) {
    text += "  " + count.kind + ": " + std::to_string(count.count) + "\n";
  }
  text += "\nAreas, in the order they were read:\n";
  for (const AreaScan& area : scan.areas) {
    text += "  [" + std::string(AreaStatusName(area.status)) + "] " + AreaName(area);
    if (area.status == AreaStatus::Read)
      text += ", " + std::to_string(area.bgl_files) + " BGL files";
    for (const RecordCount& count : area.records) {
      if (count.count != 0) text += ", " + std::to_string(count.count) + " " + count.kind;
    }
    text += "\n    " + platform::Utf8Of(area.folder) + "\n";
  }
  if (!scan.files.empty()) text += "\nFiles passed over:\n";
  for (const FileScan& file : scan.files) {
    text += "  [" + std::string(FileStatusName(file.status)) + "] " + platform::Utf8Of(file.path);
    if (file.skipped != 0) text += ", " + std::to_string(file.skipped) + " parts skipped";
    text += "\n";
  }
  if (!scan.duplicate_airports.empty()) text += "\nAirports dropped as read before:\n ";
  for (const std::string& ident : scan.duplicate_airports) text += " " + ident;
  if (!scan.duplicate_airports.empty()) text += "\n";
  return text + DuplicatesText(scan) + SuppliesText(scan);
}

ScanReport PlanScan(const std::vector<SceneryArea>& areas, const std::filesystem::path& simulator,
                    FsVersion fs_version, const std::filesystem::path& target, FrontEnd front_end) {
  ScanReport scan;
  scan.simulator = simulator;
  scan.fs_version = fs_version;
  scan.target = target;
  std::optional<std::string> code_page_warning;
  for (auto area = areas.rbegin(); area != areas.rend(); ++area) {
    scan.areas.push_back(PlannedScan(*area, simulator));
    if (!code_page_warning && area->Active && scan.areas.back().status == AreaStatus::Missing) {
      code_page_warning = CodePageWarning(area->LocalText, simulator, front_end);
    }
  }
  if (code_page_warning) scan.warnings.push_back(std::move(*code_page_warning));
  return scan;
}

std::optional<std::string> CodePageWarning(std::string_view local_text,
                                           const std::filesystem::path& simulator,
                                           FrontEnd front_end) {
  const std::optional<OtherCodePageFolder> found =
      SceneryFolderInOtherCodePage(local_text, simulator);
  if (!found) return std::nullopt;
  const std::string number(platform::CodePageNumber(found->code_page));
  return "Warning: a folder named '" + found->name + "' exists: choose code page " + number +
         (front_end == FrontEnd::Window ? " (File > Code Page)."
                                        : " (--code-page " + number + ").");
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

std::string SuppliedFileName(const ScanReport& scan, std::size_t file) {
  if (file >= scan.supplies.size()) return "?";
  const FileSupply& supply = scan.supplies[file];
  std::string path = platform::Utf8Of(supply.path);
  if (supply.area >= scan.areas.size()) return path;
  const std::string& title = scan.areas[supply.area].title;
  return path + " (" + (title.empty() ? "no title" : title) + ")";
}

std::string_view DuplicateRuleName(DuplicateRule rule) {
  switch (rule) {
    case DuplicateRule::FirstAirportStays:
      return "first-airport-stays";
    case DuplicateRule::LastFixIsFound:
      return "last-fix-is-found";
    case DuplicateRule::LastIlsDecides:
      return "last-ils-decides";
  }
  return "";
}

std::string_view DuplicateRuleText(DuplicateRule rule) {
  switch (rule) {
    case DuplicateRule::FirstAirportStays:
      return "the first airport read of an ident stays, later ones are dropped";
    case DuplicateRule::LastFixIsFound:
      return "the last intersection read of a key is the one airways find";
    case DuplicateRule::LastIlsDecides:
      return "of the ILS near a runway end that names them, the last read gives its frequency";
  }
  return "";
}

namespace {

// The kinds each file is counted by, in CountRecords order.
constexpr struct {
  OriginList list;
  const char* kind;
} kSuppliedKinds[] = {
    {OriginList::Airports, "airports"},
    {OriginList::FuelAreas, "fuel areas"},
    {OriginList::Airspaces, "airspaces"},
    {OriginList::Vors, "VORs"},
    {OriginList::Ndbs, "NDBs"},
    {OriginList::Markers, "markers"},
    {OriginList::Ilss, "ILS"},
    {OriginList::Fixes, "intersections"},
    {OriginList::JetAirways, "jet airways"},
    {OriginList::VictorAirways, "victor airways"},
};

void NoteSupply(const NavDatabase& db, std::size_t file, FileSupply& supply) {
  for (const auto& [list, kind] : kSuppliedKinds) {
    if (const std::size_t count = db.SuppliedBy(file, list)) supply.kept.push_back({kind, count});
  }
  const std::size_t dropped = db.SuppliedBy(file, OriginList::DuplicateAirports) +
                              db.SuppliedBy(file, OriginList::LaterAirports);
  if (dropped != 0) supply.dropped.push_back({"airports", dropped});
}

// Adds the duplicate when the database knows the files of both records.
void NoteDuplicate(std::string kind, std::string ident, DuplicateRule rule,
                   std::optional<std::size_t> winner, std::optional<std::size_t> loser,
                   ScanReport& scan) {
  if (!winner || !loser) return;
  scan.duplicates.push_back({std::move(kind), std::move(ident), rule, *winner, *loser});
}

}  // namespace

void NoteDuplicates(const NavDatabase& db, ScanReport& scan) {
  for (const NavDatabase::ReadingNotes::DuplicateAirport& duplicate : db.notes.duplicate_airports) {
    scan.duplicate_airports.emplace_back(TextOf(duplicate.ident));
  }
  scan.duplicate_fixes = db.Fixes.size() - db.FixIndexSize();
  const std::size_t files = std::min(db.FilesBegun(), scan.supplies.size());
  for (std::size_t file = 0; file < files; ++file) NoteSupply(db, file, scan.supplies[file]);
  const auto& airports = db.notes.duplicate_airports;
  for (std::size_t i = 0; i < airports.size(); ++i) {
    NoteDuplicate("airport", std::string(TextOf(airports[i].ident)),
                  DuplicateRule::FirstAirportStays,
                  db.FileOf(OriginList::Airports, airports[i].kept),
                  db.FileOf(OriginList::DuplicateAirports, i), scan);
  }
  for (const NavDatabase::ReadingNotes::TakenOverFix& fix : db.notes.taken_over_fixes) {
    const std::optional<std::size_t> loser = db.FileOf(OriginList::Fixes, fix.loser);
    if (loser && *loser < files) ++scan.supplies[*loser].taken_over;
    NoteDuplicate("intersection", std::string(TextOf(db.Fixes[fix.winner].FixKey)),
                  DuplicateRule::LastFixIsFound, db.FileOf(OriginList::Fixes, fix.winner),
                  db.FileOf(OriginList::Fixes, fix.loser), scan);
  }
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
