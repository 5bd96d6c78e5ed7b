// Keeps each run's report as a JSON file in the user's state folder: the last ten, without the
// temporaries of writes cut short.

#include "app/report_archive.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
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
  namespace chrono = std::chrono;
  const auto now = chrono::floor<chrono::seconds>(chrono::system_clock::now());
  const auto today = chrono::floor<chrono::days>(now);
  const chrono::year_month_day date(today);
  const chrono::hh_mm_ss time(now - today);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02u%02u-%02d%02d%02d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return std::string(kPrefix) + stamp + "-" + std::to_string(platform::ProcessId()) +
         std::string(kSuffix);
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

}  // namespace tarnvale
