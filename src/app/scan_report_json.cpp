// The scan report as a JSON object: simulator, areas, files, record counts and the time of each
// phase.

#include "app/scan_report_json.h"

#include <chrono>

#include "app/set_comparison_report.h"
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

}  // namespace

json ScanReportJson(const RunSummary& summary) {
  const ScanReport& scan = summary.scan;
  json areas = json::array();
  for (const AreaScan& area : scan.areas) areas.push_back(AreaJson(area));
  json files = json::array();
  for (const FileScan& file : scan.files) files.push_back(FileJson(file));
  json report = {
      {"simulator", platform::Utf8Of(scan.simulator)},
      {"fs_version", ToNumber(scan.fs_version)},
      {"target", platform::Utf8Of(scan.target)},
      {"areas", std::move(areas)},
      {"files", std::move(files)},
      {"duplicates", {{"airports", scan.duplicate_airports}, {"fixes", scan.duplicate_fixes}}},
      {"totals", Counts(summary.records)},
      {"times", TimesJson(summary.times)},
      {"warnings", scan.warnings}};
  AddComparison(summary, report);
  return report;
}

std::string ScanReportJsonText(const RunSummary& summary) {
  return ScanReportJson(summary).dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace tarnvale
