// Prints the end of a creation run on the command line: records per kind, files written, phase
// times and the scan's overview; and the run's exit status.

#include "cli/run_report.h"

#include <chrono>
#include <iomanip>

#include "app/set_comparison_report.h"
#include "cli/exit_codes.h"
#include "platform/paths.h"

namespace tarnvale::cli {
namespace {

double Seconds(std::chrono::nanoseconds time) {
  return std::chrono::duration<double>(time).count();
}

void PrintRecords(const RunSummary& summary, std::ostream& out) {
  if (summary.records.empty()) return;
  out << "Records loaded (" << summary.bgl_files << " BGL files in the active areas):\n";
  for (const RecordCount& count : summary.records) PrintCount(out, count.kind, count.count);
}

void PrintFiles(const RunSummary& summary, const std::filesystem::path& target_folder,
                std::ostream& out) {
  if (summary.files.empty()) return;
  out << "Files written in " << platform::Utf8Of(target_folder) << ":\n";
  for (const WrittenFile& file : summary.files) {
    out << "  " << std::left << std::setw(26) << file.name << std::right << std::setw(12)
        << file.bytes << " bytes\n";
  }
}

void PrintTimes(const PhaseTimes& times, std::ostream& out) {
  const double total =
      Seconds(times.counting + times.loading + times.binding + times.writing + times.comparing);
  out << std::fixed << std::setprecision(3) << "Time: counting " << Seconds(times.counting)
      << " s, loading " << Seconds(times.loading) << " s, binding " << Seconds(times.binding)
      << " s, writing " << Seconds(times.writing) << " s";
  if (times.comparing.count() != 0) out << ", comparing " << Seconds(times.comparing) << " s";
  out << "; total " << total << " s";
  if (times.loading_bytes_read) out << "; " << *times.loading_bytes_read << " bytes read loading";
  out << '\n' << std::defaultfloat;
}

}  // namespace

void PrintCount(std::ostream& out, std::string_view kind, std::size_t count) {
  out << "  " << std::left << std::setw(16) << kind << std::right << std::setw(10) << count << '\n';
}

void PrintRunReport(const RunSummary& summary, const std::filesystem::path& target_folder,
                    std::ostream& out, std::ostream& warnings) {
  PrintRecords(summary, out);
  PrintFiles(summary, target_folder, out);
  PrintTimes(summary.times, out);
  for (const std::string& line : ScanOverviewLines(summary.scan)) out << line << '\n';
  for (const std::string& line : ComparisonSummaryLines(summary)) out << line << '\n';
  for (const std::string& line : summary.scan.warnings) warnings << line << '\n';
  if (!summary.kept_report.empty())
    out << "Report kept in " << platform::Utf8Of(summary.kept_report) << '\n';
}

int ExitCodeOf(RunEnding ending) {
  if (ending == RunEnding::Success) return kExitSuccess;
  if (ending == RunEnding::Cancelled) return kExitCancelled;
  return kExitError;
}

}  // namespace tarnvale::cli
