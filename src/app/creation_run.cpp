// The creation run's phases, one after the other; each ends the run or
// goes on to the next.
#include "app/creation_run.h"

#include <chrono>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/messages.h"
#include "app/report_archive.h"
#include "app/run_endings.h"
#include "app/scan_report.h"
#include "app/scenery_manifest.h"
#include "app/scenery_reading.h"
#include "app/set_comparison_report.h"
#include "output/binding.h"
#include "output/database_set.h"
#include "output/database_writer.h"
#include "output/set_comparison.h"
#include "output/set_replacement.h"
#include "platform/directory_search.h"
#include "platform/fault_injection.h"
#include "platform/paths.h"
#include "platform/system.h"
#include "scenery/parallel_loader.h"

namespace tarnvale {
namespace {

using Clock = std::chrono::steady_clock;

// Forwards to the window until a halt is requested, then drops every call:
// a halted worker leaves the window alone.
class HaltGuardView final : public ForwardingRunView {
 public:
  HaltGuardView(RunView& window, std::stop_token halt)
      : ForwardingRunView(window), halt_(std::move(halt)) {}

 private:
  RunView* Target() override {
    return halt_.stop_requested() ? nullptr : ForwardingRunView::Target();
  }
  std::stop_token halt_;
};

template <typename Phase>
auto Timed(std::chrono::nanoseconds& spent, Phase phase) {
  const Clock::time_point start = Clock::now();
  auto result = phase();
  spent = Clock::now() - start;
  return result;
}

// What writing the set notices goes into the report's warnings at once; the
// ending (RunEndings) puts the scan's own warnings before them.
class Run {
 public:
  Run(ProgramState& state, RunView& window, std::stop_token halt)
      : state_(state),
        view_(window, halt),
        halt_(std::move(halt)),
        simulator_(SimulatorFolderOf(state)) {}
  Run(const Run&) = delete;  // its endings hold references to its members
  Run& operator=(const Run&) = delete;

  RunSummary Execute() {
    // Binding and writing test only the cancel flag; a halt raises it too.
    std::stop_callback cancel_on_halt(halt_, [this] { state_.cancel = true; });
    try {
      return OpenSimulator();
    } catch (const std::bad_alloc&) {
      // Whatever was staged went on the way here, before the database it
      // reads is released.
      return endings_.OutOfMemory();
    }
  }

 private:
  RunSummary OpenSimulator() {
    if (simulator_.empty() || !platform::CanEnterFolder(simulator_)) {
      return endings_.StartError(
          text::kInvalidSimulatorFolder,
          "The simulator folder " + SimulatorFolderText() + " is not there or cannot be entered.");
    }
    const std::filesystem::path library = platform::FindFile(simulator_, "Scenery.cfg");
    if (library.empty()) {
      return endings_.StartError(text::kSceneryLibraryMissing,
                                 "No Scenery.cfg in " + platform::Utf8Of(simulator_) + ".");
    }
    return ReadLibrary(library);
  }

  // How the simulator folder is named in messages: the path it resolved to,
  // or what Program_Config.cfg records when that is nothing.
  std::string SimulatorFolderText() const {
    if (!simulator_.empty()) return platform::Utf8Of(simulator_);
    const std::optional<std::string>& recorded = state_.config.FS_Directory;
    return recorded ? "\"" + *recorded + "\"" : "(none recorded)";
  }

  RunSummary ReadLibrary(const std::filesystem::path& library) {
    Status(text::kReadingSceneryLibrary);
    state_.config.ReleaseSceneryAreas();
    std::error_code unreadable;
    const CfgResult read = state_.config.ReadSceneryLibrary(library, &unreadable);
    if (read == CfgResult::Failed) return endings_.OutOfMemory();
    if (read == CfgResult::Unreadable) {
      return endings_.StartError(
          text::kSceneryLibraryMissing,
          platform::Utf8Of(library) + " cannot be read (" + unreadable.message() + ").");
    }
    if (state_.config.SceneryAreas.empty()) return endings_.NoSceneryArea();
    return ReadScenery(library);
  }

  RunSummary ReadScenery(const std::filesystem::path& library) {
    const std::vector<SceneryArea>& areas = state_.config.SceneryAreas;
    summary_.scan = PlanScan(areas, simulator_, state_.config.FS_Version, state_.TargetFolder,
                             state_.front_end);
    SceneryReading reading(db_, state_.config.FS_Version, view_, halt_, state_.cancel,
                           summary_.scan);
    std::vector<platform::FolderMatches> files =
        Timed(summary_.times.counting, [&] { return reading.ListFiles(ThreadCount()); });
    for (const AreaScan& area : summary_.scan.areas) summary_.bgl_files += area.bgl_files;
    NoteWhatIsRead(library);
    reading.PrepareProgressBar(summary_.bgl_files);
    const std::optional<std::uint64_t> read_before = platform::ProcessBytesRead();
    const Interruption stop = Timed(summary_.times.loading, [&] {
      return reading.Read(areas, std::move(files), ThreadCount());
    });
    const std::optional<std::uint64_t> read_after = platform::ProcessBytesRead();
    if (read_before && read_after) summary_.times.loading_bytes_read = *read_after - *read_before;
    if (stop == Interruption::SystemFailure) return endings_.ReadFailed(reading.SystemFailure());
    if (stop != Interruption::None) return endings_.Interrupted(stop);
    // A wrong simulator folder or a renamed drive reads nothing at all: that
    // is no reason to swap a working set for an empty one.
    if (!WritesAnyRecord(db_, Settings()) && HoldsDatabaseRecords(state_.TargetFolder)) {
      return endings_.NothingRead();
    }
    return BindAndWrite();
  }

  // Threads that read and write files: one while a test fails the
  // database's allocations, so that it counts one sequence of appends.
  unsigned ThreadCount() const {
    if (platform::Armed(platform::FaultSite::DatabaseAllocation)) return 1;
    return LoadingThreads(state_.threads);
  }

  // With a thread to spare beside binding's, the files binding leaves alone
  // are written while it runs, into a staging folder made before it; a
  // cancel or halt during binding drops them with the folder. Without one
  // they would only slow binding down.
  RunSummary BindAndWrite() {
    std::optional<SetReplacement> output;
    if (ThreadCount() > kBindingThreads) {
      output.emplace(db_, Settings(), state_.cancel);
      output->StartUnboundFiles();
    }
    const Interruption stop = Timed(summary_.times.binding,
                                    [&] { return BindRecords(db_, view_, state_.cancel, halt_); });
    if (stop != Interruption::None) {
      output.reset();  // drops what was written
      return endings_.Interrupted(stop);
    }
    Status(text::kCreatingFiles);
    if (!output) output.emplace(db_, Settings(), state_.cancel);
    return WriteFiles(*output);
  }

  // Writes the new set into the staging folder and, once it is whole, puts
  // it in place of the old one. Every ending before that keeps the old set.
  RunSummary WriteFiles(SetReplacement& output) {
    if (const std::optional<SetFailure>& failure = output.PrepareFailure()) {
      return endings_.WriteFailed("Could not prepare " + failure->Describe() + ".");
    }
    const WriteResult result = Timed(summary_.times.writing, [&] { return output.Write(view_); });
    if (result.status != WriteResult::Status::Written || halt_.stop_requested()) {
      output.Drop();
      if (result.status == WriteResult::Status::Failed) return endings_.WriteFailed(result.failure);
      return halt_.stop_requested() ? endings_.Halted() : endings_.Cancelled();
    }
    std::vector<std::string>& warnings = summary_.scan.warnings;
    warnings.insert(warnings.end(), result.warnings.begin(), result.warnings.end());
    if (std::optional<SetFailure> failure = StagePendingSettings(output)) {
      output.Drop();
      return endings_.WriteFailed("Could not write " + failure->Describe() + ".");
    }
    Status(text::kFinishing);
    return PutInPlace(output);
  }

  // A simulator chosen for this run goes into Program_Config.cfg with the
  // set built from it, never before.
  std::optional<SetFailure> StagePendingSettings(SetReplacement& output) {
    if (!state_.simulator_pending) return std::nullopt;
    return output.StageSettings(state_.config.ProgramConfigText());
  }

  OutputSettings Settings() const {
    return {.Program = state_.config.Program_Id,
            .Version = state_.config.FS_Version,
            .SimulatorFolder = platform::Utf8Of(simulator_),
            .TargetFolder = state_.TargetFolder,
            .OutputFolder = {},  // the staging folder, once there is one
            .Threads = ThreadCount()};
  }

  // Scenery.cfg's size and time before the files are read; the files' own
  // come with their reading. Only when there is a state folder to keep
  // them in.
  void NoteWhatIsRead(const std::filesystem::path& library) {
    if (!state_.report_archive.empty()) manifest_ = DescribeLibrary(summary_.scan, library);
  }

  // Once the new set stands, what it was built from is kept for `status`.
  void KeepWhatWasRead() {
    if (!manifest_) return;
    AddFilesRead(*manifest_, summary_.scan);
    if (std::optional<std::string> error =
            KeepManifest(std::move(*manifest_), state_.report_archive)) {
      summary_.scan.warnings.push_back("Warning: " + *error);
    }
  }

  // Both sets are whole on disk: what the new one changes is told, and a
  // kind it holds far fewer of is warned of.
  void CompareWithPreviousSet(const SetReplacement& output) {
    const std::vector<std::filesystem::path> old_files = DatabaseSetFiles(state_.TargetFolder);
    if (old_files.empty()) return;
    summary_.comparison = Timed(summary_.times.comparing, [&] {
      return CompareDatabaseSets(old_files, DatabaseSetFiles(output.StagingFolder()));
    });
    for (std::string& warning : ShrinkWarnings(*summary_.comparison)) {
      summary_.scan.warnings.push_back(std::move(warning));
    }
  }

  // The database is read no more once its files are written: its records
  // are counted, and it is given back while the new set takes the old
  // one's place.
  RunSummary PutInPlace(SetReplacement& output) {
    CompareWithPreviousSet(output);
    endings_.TakeRecords();
    const Clock::time_point start = Clock::now();
    const CommitOutcome outcome = output.Commit([this] { ReleaseDatabase(db_, state_); });
    summary_.times.writing += Clock::now() - start;
    // The settings go with the set: in place with it, or with it next run.
    if (outcome.decided) state_.simulator_pending = false;
    switch (outcome.state) {
      case SetState::New:
        if (!outcome.detail.empty()) summary_.scan.warnings.push_back(outcome.detail);
        KeepWhatWasRead();
        return endings_.Success(outcome.placed_files);
      case SetState::Old:
        return endings_.WriteFailed(outcome.detail);
      case SetState::FinishedByNextRun:
      case SetState::RestoredByNextRun:
        break;
    }
    return endings_.Unfinished(outcome.detail);
  }

  void Status(std::string_view text) { view_.SetStatusText(std::string(text)); }

  ProgramState& state_;
  HaltGuardView view_;
  std::stop_token halt_;
  const std::filesystem::path simulator_;
  NavDatabase db_;
  RunSummary summary_;
  std::optional<SceneryManifest> manifest_;  // what the run reads, once listed
  RunEndings endings_{state_, view_, halt_, db_, summary_};
};

}  // namespace

RunSummary CreationRun(ProgramState& state, RunView& view, const std::stop_token& halt) {
  RunSummary summary = Run(state, view, halt).Execute();
  if (state.report_archive.empty() || summary.scan.areas.empty() || halt.stop_requested()) {
    return summary;
  }
  std::string error;
  summary.kept_report = KeepReport(summary, state.report_archive, error).value_or("");
  if (!error.empty()) summary.scan.warnings.push_back("Warning: " + error);
  return summary;
}

}  // namespace tarnvale
