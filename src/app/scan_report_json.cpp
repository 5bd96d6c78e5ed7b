// The scan report as a JSON object: simulator, areas, files, record counts and the time of each
// phase.

#include "app/scan_report_json.h"

#include <chrono>
#include <cstdio>

#include "app/set_comparison_report.h"
#include "platform/paths.h"
#include "scenery/nav_database.h"

namespace tarnvale {
namespace {

using nlohmann::json;

json Counts(const std::vector<RecordCount>& counts) {
  json object = json::object();
  for (const RecordCount& count : counts) object[count.kind] = count.count;
  return object;
}

json AreaJson(const AreaScan& area) {
  return {{"title", area.title},
          {"local", area.local},
          {"folder", platform::Utf8Of(area.folder)},
          {"status", AreaStatusName(area.status)},
          {"bgl_files", area.bgl_files},
          {"records", Counts(area.records)}};
}

json FileJson(const FileScan& file) {
  return {{"path", platform::Utf8Of(file.path)},
          {"status", FileStatusName(file.status)},
          {"skipped", file.skipped}};
}

json SupplyJson(const ScanReport& scan, const FileSupply& supply) {
  const AreaScan* area = supply.area < scan.areas.size() ? &scan.areas[supply.area] : nullptr;
  return {{"path", platform::Utf8Of(supply.path)},
          {"area", area ? area->title : ""},
          {"kept", Counts(supply.kept)},
          {"dropped", Counts(supply.dropped)},
          {"taken_over_intersections", supply.taken_over}};
}

json DuplicateJson(const ScanReport& scan, const DuplicateScan& duplicate) {
  return {{"kind", duplicate.kind},
          {"ident", duplicate.ident},
          {"rule", DuplicateRuleName(duplicate.rule)},
          {"winner", SuppliedFileJson(scan, duplicate.winner)},
          {"loser", SuppliedFileJson(scan, duplicate.loser)}};
}

double Seconds(std::chrono::nanoseconds time) {
  return std::chrono::duration<double>(time).count();
}

json TimesJson(const PhaseTimes& times) {
  json object = {{"counting", Seconds(times.counting)},
                 {"loading", Seconds(times.loading)},
                 {"binding", Seconds(times.binding)},
                 {"writing", Seconds(times.writing)},
                 {"comparing", Seconds(times.comparing)}};
  if (times.loading_bytes_read) object["loading_bytes_read"] = *times.loading_bytes_read;
  return object;
}

// The new set compared with the one it replaced, when there was one.
void AddComparison(const RunSummary& summary, json& report) {
  if (summary.comparison) report["comparison"] = ComparisonJson(*summary.comparison);
}

constexpr RunEnding kEndings[] = {
    RunEnding::Success,     RunEnding::Cancelled,     RunEnding::StartError,
    RunEnding::OutOfMemory, RunEnding::NoSceneryArea, RunEnding::WriteFailed,
    RunEnding::NothingRead, RunEnding::ReadFailed,    RunEnding::Halted};

RunEnding EndingNamed(const std::string& name) {
  for (const RunEnding ending : kEndings) {
    if (RunEndingName(ending) == name) return ending;
  }
  return RunEnding::Halted;
}

std::chrono::system_clock::time_point UtcTime(const std::string& text) {
  int year = 0;
  unsigned month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
  if (std::sscanf(text.c_str(), "%d-%u-%uT%d:%d:%dZ", &year, &month, &day, &hour, &minute,
                  &second) != 6) {
    return {};
  }
  const std::chrono::year_month_day date{std::chrono::year(year), std::chrono::month(month),
                                         std::chrono::day(day)};
  if (!date.ok()) return {};
  return std::chrono::sys_days(date) + std::chrono::hours(hour) + std::chrono::minutes(minute) +
         std::chrono::seconds(second);
}

// The kinds in the order a run counts them; the file sorts them by name.
std::vector<RecordCount> CountsFrom(const json& object) {
  std::vector<RecordCount> counts;
  for (RecordCount& count : CountRecords(NavDatabase())) {
    if (!object.contains(count.kind)) continue;
    count.count = object.at(count.kind).get<std::size_t>();
    counts.push_back(std::move(count));
  }
  return counts;
}

AreaStatus AreaStatusNamed(const std::string& name) {
  for (const AreaStatus status : {AreaStatus::Read, AreaStatus::Inactive, AreaStatus::Missing,
                                  AreaStatus::TooLong, AreaStatus::NotRead}) {
    if (AreaStatusName(status) == name) return status;
  }
  return AreaStatus::NotRead;
}

FileStatus FileStatusNamed(const std::string& name) {
  for (const FileStatus status : {FileStatus::Unreadable, FileStatus::Short, FileStatus::NotBgl,
                                  FileStatus::Damaged, FileStatus::LaterFormat}) {
    if (FileStatusName(status) == name) return status;
  }
  return FileStatus::Read;
}

std::chrono::nanoseconds Nanoseconds(double seconds) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
      std::chrono::duration<double>(seconds));
}

RunSummary SummaryFrom(const json& report) {
  RunSummary summary;
  ScanReport& scan = summary.scan;
  scan.simulator = platform::PathFromUtf8(report.at("simulator").get<std::string>());
  scan.fs_version = FsVersionFromNumber(report.at("fs_version").get<std::int16_t>());
  scan.target = platform::PathFromUtf8(report.at("target").get<std::string>());
  for (const json& area : report.at("areas")) {
    scan.areas.push_back({area.at("title").get<std::string>(),
                          area.at("local").get<std::string>(),
                          platform::PathFromUtf8(area.at("folder").get<std::string>()),
                          AreaStatusNamed(area.at("status").get<std::string>()),
                          area.at("bgl_files").get<std::int32_t>(),
                          {}});
  }
  for (const json& file : report.at("files")) {
    scan.files.push_back({platform::PathFromUtf8(file.at("path").get<std::string>()),
                          FileStatusNamed(file.at("status").get<std::string>()),
                          file.at("skipped").get<std::size_t>()});
  }
  scan.duplicate_airports = report.at("duplicates").at("airports").get<std::vector<std::string>>();
  scan.duplicate_fixes = report.at("duplicates").at("fixes").get<std::size_t>();
  scan.warnings = report.at("warnings").get<std::vector<std::string>>();
  summary.records = CountsFrom(report.at("totals"));
  const json& times = report.at("times");
  summary.times.counting = Nanoseconds(times.at("counting").get<double>());
  summary.times.loading = Nanoseconds(times.at("loading").get<double>());
  summary.times.binding = Nanoseconds(times.at("binding").get<double>());
  summary.times.writing = Nanoseconds(times.at("writing").get<double>());
  summary.times.comparing = Nanoseconds(times.value("comparing", 0.0));
  if (times.contains("loading_bytes_read")) {
    summary.times.loading_bytes_read = times.at("loading_bytes_read").get<std::uint64_t>();
  }
  // A report of an older version tells neither how nor when the run ended:
  // it is no account of a last run.
  summary.ending = EndingNamed(report.at("ending").get<std::string>());
  summary.finished = UtcTime(report.at("finished").get<std::string>());
  for (const json& file : report.value("written", json::array())) {
    summary.files.push_back(
        {file.at("name").get<std::string>(), file.at("bytes").get<std::uintmax_t>()});
  }
  return summary;
}

}  // namespace

std::string UtcText(std::chrono::system_clock::time_point time) {
  namespace chrono = std::chrono;
  const auto seconds = chrono::floor<chrono::seconds>(time);
  const auto today = chrono::floor<chrono::days>(seconds);
  const chrono::year_month_day date(today);
  const chrono::hh_mm_ss clock(seconds - today);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

std::string UtcMinuteText(std::chrono::system_clock::time_point time) {
  const std::string utc = UtcText(time);  // "2026-12-10T09:14:03Z"
  return utc.substr(0, 10) + " " + utc.substr(11, 5) + " UTC";
}

std::string_view RunEndingName(RunEnding ending) {
  switch (ending) {
    case RunEnding::Success:
      return "success";
    case RunEnding::Cancelled:
      return "cancelled";
    case RunEnding::StartError:
      return "start-error";
    case RunEnding::OutOfMemory:
      return "out-of-memory";
    case RunEnding::NoSceneryArea:
      return "no-scenery-area";
    case RunEnding::WriteFailed:
      return "write-failed";
    case RunEnding::NothingRead:
      return "nothing-read";
    case RunEnding::ReadFailed:
      return "read-failed";
    case RunEnding::Halted:
      break;
  }
  return "halted";
}

std::optional<RunSummary> RunSummaryFromJson(const json& report) {
  try {
    return SummaryFrom(report);
  } catch (const json::exception&) {
    return std::nullopt;
  }
}

json SuppliedFileJson(const ScanReport& scan, std::size_t file) {
  if (file >= scan.supplies.size()) return nullptr;
  const FileSupply& supply = scan.supplies[file];
  const AreaScan* area = supply.area < scan.areas.size() ? &scan.areas[supply.area] : nullptr;
  return {{"file", platform::Utf8Of(supply.path)}, {"area", area ? area->title : ""}};
}

json ScanReportJson(const RunSummary& summary) {
  const ScanReport& scan = summary.scan;
  json areas = json::array();
  for (const AreaScan& area : scan.areas) areas.push_back(AreaJson(area));
  json files = json::array();
  for (const FileScan& file : scan.files) files.push_back(FileJson(file));
  json written = json::array();
  for (const WrittenFile& file : summary.files) {
    written.push_back({{"name", file.name}, {"bytes", file.bytes}});
  }
  json supplies = json::array();
  std::size_t empty = 0;
  for (const FileSupply& supply : scan.supplies) {
    if (supply.Empty()) {
      ++empty;
    } else {
      supplies.push_back(SupplyJson(scan, supply));
    }
  }
  json duplicates = json::array();
  for (const DuplicateScan& duplicate : scan.duplicates) {
    duplicates.push_back(DuplicateJson(scan, duplicate));
  }
  json report = {{"simulator", platform::Utf8Of(scan.simulator)},
                 {"fs_version", ToNumber(scan.fs_version)},
                 {"target", platform::Utf8Of(scan.target)},
                 {"areas", std::move(areas)},
                 {"files", std::move(files)},
                 {"files_read", std::move(supplies)},
                 {"files_read_without_records", empty},
                 {"duplicates",
                  {{"airports", scan.duplicate_airports},
                   {"fixes", scan.duplicate_fixes},
                   {"records", std::move(duplicates)}}},
                 {"totals", Counts(summary.records)},
                 {"times", TimesJson(summary.times)},
                 {"warnings", scan.warnings},
                 {"ending", RunEndingName(summary.ending)},
                 {"finished", UtcText(summary.finished)},
                 {"written", std::move(written)}};
  AddComparison(summary, report);
  return report;
}

std::string ScanReportJsonText(const RunSummary& summary) {
  return ScanReportJson(summary).dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace tarnvale
