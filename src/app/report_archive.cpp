// Keeps each run's report as a JSON file in the user's state folder: the last ten, without the
// temporaries of writes cut short.

#include "app/report_archive.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <system_error>
#include <vector>

#include "app/scan_report_json.h"
#include "platform/file_operations.h"
#include "platform/paths.h"
#include "platform/system.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = "run-";
constexpr std::string_view kSuffix = ".json";

bool IsReport(const fs::path& file) {
  const std::string name = platform::Utf8Of(file.filename());
  return name.starts_with(kPrefix) && name.ends_with(kSuffix);
}

// The temporary file of a report whose writing was cut short (a kill):
// "run-....json.tmp-XXXXXX", older than any write still going on.
bool IsLeftoverTemporary(const fs::directory_entry& entry) {
  constexpr auto kOldEnough = std::chrono::minutes(10);
  const std::string name = platform::Utf8Of(entry.path().filename());
  if (!name.starts_with(kPrefix) ||
      name.find(std::string(kSuffix) + ".tmp-") == std::string::npos) {
    return false;
  }
  std::error_code error;
  const fs::file_time_type written = entry.last_write_time(error);
  return !error && fs::file_time_type::clock::now() - written > kOldEnough;
}

// "run-20261209-051502-<pid>.json": names sort in the order the runs ended.
std::string ReportName() {
  std::string stamp;
  for (const char c : UtcText(std::chrono::system_clock::now())) {
    if (c == 'T') stamp += '-';
    if (c >= '0' && c <= '9') stamp += c;
  }
  return std::string(kPrefix) + stamp + "-" + std::to_string(platform::ProcessId()) +
         std::string(kSuffix);
}

// The reports in `folder`, newest first.
std::vector<fs::path> ReportsNewestFirst(const fs::path& folder) {
  std::error_code error;
  std::vector<fs::path> reports;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (IsReport(entry.path())) reports.push_back(entry.path());
  }
  std::sort(reports.rbegin(), reports.rend());
  return reports;
}

std::optional<RunSummary> ReadReport(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const nlohmann::json report = nlohmann::json::parse(in, nullptr, false);
  if (report.is_discarded()) return std::nullopt;
  std::optional<RunSummary> summary = RunSummaryFromJson(report);
  if (summary) summary->kept_report = file;
  return summary;
}

void RemoveOldReports(const fs::path& folder) {
  std::error_code error;
  std::vector<fs::path> reports;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (IsReport(entry.path())) reports.push_back(entry.path());
    // Best effort: a leftover that stays is tried again after the next run.
    if (IsLeftoverTemporary(entry)) static_cast<void>(platform::DeleteFile(entry.path()));
  }
  if (reports.size() <= kReportsKept) return;
  std::sort(reports.begin(), reports.end());
  for (std::size_t i = 0; i + kReportsKept < reports.size(); ++i) fs::remove(reports[i], error);
}

}  // namespace

fs::path ReportArchiveFolder() { return platform::UserStateFolder(); }

std::optional<fs::path> KeepReport(const RunSummary& summary, const fs::path& folder,
                                   std::string& error) {
  std::error_code failure;
  fs::create_directories(folder, failure);
  const fs::path file = folder / ReportName();
  if (!failure) failure = platform::ReplaceFileContents(file, ScanReportJsonText(summary));
  if (failure) {
    error =
        "Could not keep the run's report in " + platform::Utf8Of(folder) + ": " + failure.message();
    return std::nullopt;
  }
  RemoveOldReports(folder);
  return file;
}

std::optional<RunSummary> LastKeptRun(const fs::path& folder, const fs::path& target_folder) {
  if (folder.empty()) return std::nullopt;
  std::error_code error;
  const fs::path target = fs::weakly_canonical(target_folder, error);
  for (const fs::path& file : ReportsNewestFirst(folder)) {
    std::optional<RunSummary> summary = ReadReport(file);
    if (summary && fs::weakly_canonical(summary->scan.target, error) == target) return summary;
  }
  return std::nullopt;
}

}  // namespace tarnvale
