#include "app/report_archive.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <system_error>
#include <vector>

#include "app/scan_report_json.h"
#include "platform/file_operations.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = "run-";
constexpr std::string_view kSuffix = ".json";

bool IsReport(const fs::path& file) {
  const std::string name = file.filename().string();
  return name.starts_with(kPrefix) && name.ends_with(kSuffix);
}

// "run-20261209-051502-<pid>.json": names sort in the order the runs ended.
std::string ReportName() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  gmtime_r(&now, &utc);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
  return std::string(kPrefix) + stamp + "-" + std::to_string(::getpid()) + std::string(kSuffix);
}

void RemoveOldReports(const fs::path& folder) {
  std::error_code error;
  std::vector<fs::path> reports;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (IsReport(entry.path())) reports.push_back(entry.path());
  }
  if (reports.size() <= kReportsKept) return;
  std::sort(reports.begin(), reports.end());
  for (std::size_t i = 0; i + kReportsKept < reports.size(); ++i) fs::remove(reports[i], error);
}

}  // namespace

fs::path ReportArchiveFolder() {
  if (const char* state = std::getenv("XDG_STATE_HOME"); state && fs::path(state).is_absolute()) {
    return fs::path(state) / "tarnvale";
  }
  const char* home = std::getenv("HOME");
  if (!home || !fs::path(home).is_absolute()) return {};
  return fs::path(home) / ".local" / "state" / "tarnvale";
}

std::optional<fs::path> KeepReport(const RunSummary& summary, const fs::path& folder,
                                   std::string& error) {
  std::error_code failure;
  fs::create_directories(folder, failure);
  const fs::path file = folder / ReportName();
  if (!failure) failure = platform::ReplaceFileContents(file, ScanReportJsonText(summary));
  if (failure) {
    error = "Could not keep the run's report in " + folder.string() + ": " + failure.message();
    return std::nullopt;
  }
  RemoveOldReports(folder);
  return file;
}

}  // namespace tarnvale
