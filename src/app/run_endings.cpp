// How each ending of a creation run leaves the window, the database and the
// settings, and the message it shows.
#include "app/run_endings.h"

#include <chrono>

#include <system_error>

#include "app/messages.h"
#include "app/scan_report.h"

namespace tarnvale {
namespace {

// The database files a replacement put in place, with their sizes.
std::vector<WrittenFile> InstalledFiles(const std::filesystem::path& target_folder,
                                        const std::vector<std::string>& names) {
  std::vector<WrittenFile> files;
  for (const std::string& name : names) {
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(target_folder / name, error);
    if (!error) files.push_back({name, bytes});
  }
  return files;
}

}  // namespace

void ReleaseDatabase(NavDatabase& db, ProgramState& state) {
  db.Release();
  state.config.ReleaseSceneryAreas();
}

void RunEndings::TakeRecords() {
  if (!summary_.records.empty()) return;
  summary_.records = CountRecords(db_);
  NoteDuplicates(db_, summary_.scan);
}

// The message adds what writing noticed, the only warnings so far.
RunSummary RunEndings::Success(const std::vector<std::string>& placed_files) {
  summary_.files = InstalledFiles(state_.TargetFolder, placed_files);
  std::string warnings = NoAirportsWarning(summary_.scan, summary_.records);
  for (const std::string& warning : summary_.scan.warnings) {
    warnings += (warnings.empty() ? "" : "\n") + warning;
  }
  return Idle(RunEnding::Success, text::WithDetail(text::kRunSucceeded, warnings));
}

RunSummary RunEndings::Cancelled() {
  return Idle(RunEnding::Cancelled, text::WithDetail(text::kRunCancelled, text::kPreviousSetKept));
}

RunSummary RunEndings::WriteFailed(const std::string& failure) {
  return Idle(RunEnding::WriteFailed,
              text::WithDetail(text::kDatabaseFilesNotWritten,
                               text::WithDetail(failure, text::kPreviousSetKept)));
}

RunSummary RunEndings::Unfinished(const std::string& detail) {
  return Idle(RunEnding::WriteFailed, text::WithDetail(text::kDatabaseFilesNotWritten, detail));
}

RunSummary RunEndings::NothingRead() {
  return Idle(RunEnding::NothingRead,
              text::WithDetail(text::kNothingRead, "None of the " + ActiveAreasText(summary_.scan) +
                                                       " gave a record. " +
                                                       std::string(text::kPreviousSetKept)));
}

RunSummary RunEndings::ReadFailed(const SetFailure& failure) {
  return Idle(RunEnding::ReadFailed,
              text::WithDetail(text::kSceneryNotRead, "Could not read " + failure.Describe() +
                                                          ": the system failed, not the file. " +
                                                          std::string(text::kPreviousSetKept)));
}

RunSummary RunEndings::NoSceneryArea() {
  ReleaseDatabase(db_, state_);
  return WindowIdle(RunEnding::NoSceneryArea, text::kNoSceneryArea);
}

RunSummary RunEndings::StartError(std::string_view text, const std::string& detail) {
  const std::string message = text::WithDetail(
      text, detail + " The simulator folder is cleared from Program_Config.cfg: " +
                view_.SimulatorAskedAgain() + " " + std::string(text::kPreviousSetKept));
  view_.ShowMessage(message);
  if (halt_.stop_requested()) return Halted();
  state_.config.FS_Directory = std::string();
  // The window closes either way; a file that could not be rewritten still
  // names the unusable folder, and the next run ends here again.
  static_cast<void>(state_.config.WriteProgramConfig(state_.TargetFolder / "Program_Config.cfg"));
  view_.CloseMainWindow();
  return Finish(RunEnding::StartError, message);
}

RunSummary RunEndings::OutOfMemory() {
  ReleaseDatabase(db_, state_);
  const std::string message = text::WithDetail(text::kOutOfMemory, text::kPreviousSetKept);
  view_.ShowMessage(message);
  view_.CloseMainWindow();
  return Finish(RunEnding::OutOfMemory, message);
}

RunSummary RunEndings::Halted() {
  ReleaseDatabase(db_, state_);
  return Finish(RunEnding::Halted, "");
}

RunSummary RunEndings::Interrupted(Interruption stop) {
  if (stop == Interruption::Halt) return Halted();
  if (stop == Interruption::Cancel) return Cancelled();
  return OutOfMemory();
}

// The database counted and given back, then the window idle.
RunSummary RunEndings::Idle(RunEnding ending, std::string_view message) {
  TakeRecords();
  ReleaseDatabase(db_, state_);
  return WindowIdle(ending, message);
}

// Window back to idle, then the message with what the run read.
RunSummary RunEndings::WindowIdle(RunEnding ending, std::string_view message) {
  view_.SetStatusText("");
  view_.SetProgressPosition(0);
  state_.cancel = false;
  view_.EnableCreateButton(true);
  view_.EnableCancelButton(false);
  RunSummary summary = Finish(ending, message);
  view_.ShowRunEnding(std::string(message), summary);
  return summary;
}

RunSummary RunEndings::Finish(RunEnding ending, std::string_view message) {
  CompleteWarnings(summary_.scan, summary_.records);
  summary_.ending = ending;
  summary_.message = message;
  summary_.finished = std::chrono::system_clock::now();
  return std::move(summary_);
}

}  // namespace tarnvale
