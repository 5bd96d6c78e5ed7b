// The scan report as a JSON object: simulator, areas, files, record counts and the time of each
// phase.

#include "app/scan_report_json.h"

#include <chrono>

#include "platform/paths.h"

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
  return {{"counting", Seconds(times.counting)},
          {"loading", Seconds(times.loading)},
          {"binding", Seconds(times.binding)},
          {"writing", Seconds(times.writing)}};
}

}  // namespace

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
  json supplies = json::array();
  for (const FileSupply& supply : scan.supplies) supplies.push_back(SupplyJson(scan, supply));
  json duplicates = json::array();
  for (const DuplicateScan& duplicate : scan.duplicates) {
    duplicates.push_back(DuplicateJson(scan, duplicate));
  }
  return {{"simulator", platform::Utf8Of(scan.simulator)},
          {"fs_version", ToNumber(scan.fs_version)},
          {"target", platform::Utf8Of(scan.target)},
          {"areas", std::move(areas)},
          {"files", std::move(files)},
          {"files_read", std::move(supplies)},
          {"duplicates",
           {{"airports", scan.duplicate_airports},
            {"fixes", scan.duplicate_fixes},
            {"records", std::move(duplicates)}}},
          {"totals", Counts(summary.records)},
          {"times", TimesJson(summary.times)},
          {"warnings", scan.warnings}};
}

std::string ScanReportJsonText(const RunSummary& summary) {
  return ScanReportJson(summary).dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace tarnvale
