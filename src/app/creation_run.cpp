#include "app/creation_run.h"

#include <unistd.h>

#include <chrono>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "app/messages.h"
#include "output/binding.h"
#include "output/database_writer.h"
#include "output/output_cleanup.h"
#include "platform/directory_search.h"
#include "platform/paths.h"
#include "scenery/bgl_loader.h"

namespace tarnvale {
namespace {

using Clock = std::chrono::steady_clock;

// Forwards to the window until a halt is requested, then drops every call:
// a halted worker leaves the window alone.
class HaltGuardView final : public RunView {
 public:
  HaltGuardView(RunView& window, std::stop_token halt) : window_(window), halt_(std::move(halt)) {}
  void SetStatusText(const std::string& text) override {
    if (Open()) window_.SetStatusText(text);
  }
  void SetProgressRange(std::int32_t low, std::int32_t high) override {
    if (Open()) window_.SetProgressRange(low, high);
  }
  void SetProgressStep(std::int32_t step) override {
    if (Open()) window_.SetProgressStep(step);
  }
  void SetProgressPosition(std::int32_t position) override {
    if (Open()) window_.SetProgressPosition(position);
  }
  void StepProgress() override {
    if (Open()) window_.StepProgress();
  }
  void EnableCreateButton(bool enabled) override {
    if (Open()) window_.EnableCreateButton(enabled);
  }
  void EnableCancelButton(bool enabled) override {
    if (Open()) window_.EnableCancelButton(enabled);
  }
  void ShowMessage(const std::string& text) override {
    if (Open()) window_.ShowMessage(text);
  }
  void CloseMainWindow() override {
    if (Open()) window_.CloseMainWindow();
  }

 private:
  bool Open() const { return !halt_.stop_requested(); }
  RunView& window_;
  std::stop_token halt_;
};

// A folder the run can work in: it exists and may be entered.
bool CanEnter(const std::filesystem::path& folder) {
  return !folder.empty() && platform::IsFolder(folder) && ::access(folder.c_str(), X_OK) == 0;
}

std::vector<RecordCount> CountRecords(const NavDatabase& db) {
  std::size_t runways = 0;
  for (const AirportRecord& airport : db.Airports) runways += airport.Runways.size();
  return {{"airports", db.Airports.size()},   {"runways", runways},
          {"fuel areas", db.FuelAreas.size()}, {"airspaces", db.Airspaces.size()},
          {"VORs", db.Vors.size()},            {"NDBs", db.Ndbs.size()},
          {"markers", db.Markers.size()},      {"ILS", db.Ilss.size()},
          {"intersections", db.Fixes.size()},  {"jet airways", db.JetAirways.size()},
          {"victor airways", db.VictorAirways.size()}};
}

std::vector<WrittenFile> ListOutputFiles(const std::filesystem::path& target_folder) {
  std::vector<WrittenFile> files;
  for (std::string_view name : kOutputFileSet) {
    const std::filesystem::path file = platform::FindFile(target_folder, name);
    std::error_code error;
    const std::uintmax_t bytes = file.empty() ? 0 : std::filesystem::file_size(file, error);
    if (!file.empty() && !error) files.push_back({file.filename().string(), bytes});
  }
  return files;
}

template <typename Phase>
auto Timed(std::chrono::nanoseconds& spent, Phase phase) {
  const Clock::time_point start = Clock::now();
  auto result = phase();
  spent = Clock::now() - start;
  return result;
}

// Why a phase stopped before its end.
enum class Interruption { None, Halt, Cancel, OutOfMemory };

class Run {
 public:
  Run(ProgramState& state, RunView& window, std::stop_token halt)
      : state_(state), view_(window, halt), halt_(std::move(halt)) {
    db_.SetAllocationBudget(state.database_allocation_budget);
  }

  RunSummary Execute() {
    // Binding and writing test only the cancel flag; a halt raises it too.
    std::stop_callback cancel_on_halt(halt_, [this] { state_.cancel = true; });
    try {
      return Phases();
    } catch (const std::bad_alloc&) {
      return MemoryEnding();
    }
  }

 private:
  RunSummary Phases() {
    simulator_ = SimulatorFolder();
    if (!CanEnter(simulator_)) return StartErrorEnding(text::kInvalidSimulatorFolder);
    const std::filesystem::path library = platform::FindFile(simulator_, "Scenery.cfg");
    if (library.empty()) return StartErrorEnding(text::kSceneryLibraryMissing);

    Status(text::kReadingSceneryLibrary);
    state_.config.ReleaseSceneryAreas();
    if (state_.config.ReadCfgFile(library, kSceneryLibraryMode) == kCfgFailed) return MemoryEnding();
    if (state_.config.SceneryAreas.empty()) return NoSceneryAreaEnding();

    const std::vector<const SceneryArea*> areas = AreasTakingPart();
    summary_.bgl_files = Timed(summary_.times.counting, [&] { return CountBglFiles(areas); });
    PrepareProgressBar();
    Interruption stop = Timed(summary_.times.loading, [&] { return LoadScenery(areas); });
    if (stop == Interruption::None) stop = Timed(summary_.times.binding, [&] { return Bind(); });
    if (stop != Interruption::None) return Interrupted(stop);
    return WriteFiles();
  }

  // FS_Directory as a path of this machine; a relative one is taken against
  // the target folder, where the window stands when a run starts.
  std::filesystem::path SimulatorFolder() const {
    const std::optional<std::string>& recorded = state_.config.FS_Directory;
    if (!recorded || recorded->empty()) return {};
    return platform::ResolvePath(*recorded, state_.TargetFolder);
  }

  // Active areas with a folder, from the last in Scenery.cfg to the first.
  std::vector<const SceneryArea*> AreasTakingPart() const {
    std::vector<const SceneryArea*> areas;
    const std::vector<SceneryArea>& all = state_.config.SceneryAreas;
    for (auto area = all.rbegin(); area != all.rend(); ++area) {
      if (!area->Local.empty() && area->Active) areas.push_back(&*area);
    }
    return areas;
  }

  std::int32_t CountBglFiles(const std::vector<const SceneryArea*>& areas) {
    Status(text::kCountingBglFiles);
    std::int32_t count = 0;
    for (const SceneryArea* area : areas) {
      if (CanEnter(area->Local)) {
        count += static_cast<std::int32_t>(platform::FindFiles(area->Local, "*.bgl").size());
      }
    }
    return count;
  }

  // Two more steps than files: the bar stops short of full after reading.
  void PrepareProgressBar() {
    view_.SetProgressRange(0, summary_.bgl_files + 2);
    view_.SetProgressStep(1);
    view_.SetProgressPosition(0);
    Status("");
  }

  Interruption LoadScenery(const std::vector<const SceneryArea*>& areas) {
    for (const SceneryArea* area : areas) {
      if (area->Title) Status(*area->Title);
      if (!CanEnter(area->Local)) continue;
      const Interruption stop = LoadArea(area->Local);
      if (stop != Interruption::None) return stop;
    }
    return Interruption::None;
  }

  Interruption LoadArea(const std::filesystem::path& folder) {
    for (const std::filesystem::path& file : platform::FindFiles(folder, "*.bgl")) {
      const Interruption stop = CheckPoint();
      if (stop != Interruption::None) return stop;
      const int result = BglLoader(db_, file, state_.config.FS_Version, &problems_);
      view_.StepProgress();
      if (result == kLoaderOutOfMemory) return Interruption::OutOfMemory;
    }
    return Interruption::None;
  }

  Interruption CheckPoint() const {
    if (halt_.stop_requested()) return Interruption::Halt;
    return state_.cancel ? Interruption::Cancel : Interruption::None;
  }

  Interruption Bind() {
    Interruption stop = RunBindStep(!db_.Ilss.empty() && !db_.Airports.empty(), text::kBindingIls,
                                    [this] { return BindIlsToRunways(db_, view_, state_.cancel); });
    if (stop == Interruption::None) {
      stop = RunBindStep(!db_.Fixes.empty() && !db_.JetAirways.empty(), text::kBindingJetAirways,
                         [this] { return BindFixesToJetAirways(db_, view_, state_.cancel); });
    }
    if (stop == Interruption::None) {
      stop = RunBindStep(!db_.Fixes.empty() && !db_.VictorAirways.empty(),
                         text::kBindingVictorAirways,
                         [this] { return BindFixesToVictorAirways(db_, view_, state_.cancel); });
    }
    return stop;
  }

  template <typename Step>
  Interruption RunBindStep(bool both_present, std::string_view status, Step step) {
    if (!both_present) return Interruption::None;
    Status(status);
    if (step() == BindResult::Done) return Interruption::None;
    return halt_.stop_requested() ? Interruption::Halt : Interruption::Cancel;
  }

  RunSummary WriteFiles() {
    Status(text::kCreatingFiles);
    const OutputSettings settings{state_.config.Program_Id, state_.config.FS_Version,
                                  simulator_.string(), state_.TargetFolder};
    const WriteResult result = Timed(summary_.times.writing, [&] {
      return WriteDatabaseFiles(db_, view_, settings, state_.cancel);
    });
    switch (result.status) {
      case WriteResult::Status::Written:
        Status(text::kFinishing);
        return SuccessEnding();
      case WriteResult::Status::Cancelled:
        if (halt_.stop_requested()) return HaltedEnding();
        return CancelEnding(/*delete_output=*/true);
      case WriteResult::Status::Failed:
        break;
    }
    return WriteFailedEnding(result.failure);
  }

  RunSummary Interrupted(Interruption stop) {
    if (stop == Interruption::Halt) return HaltedEnding();
    if (stop == Interruption::Cancel) return CancelEnding(/*delete_output=*/false);
    return MemoryEnding();
  }

  // The closing sequences.

  RunSummary SuccessEnding() {
    TakeRecords(/*with_files=*/true);
    ReleaseDatabase(db_, state_);
    return IdleEnding(RunEnding::Success, text::kRunSucceeded);
  }

  // The writer's form deletes its partial output right after the release.
  RunSummary CancelEnding(bool delete_output) {
    TakeRecords(/*with_files=*/false);
    ReleaseDatabase(db_, state_);
    if (delete_output) DeleteOutputFiles(state_.TargetFolder);
    return IdleEnding(RunEnding::Cancelled, text::kRunCancelled);
  }

  // Nothing was built, but the window stays usable for another run.
  RunSummary NoSceneryAreaEnding() {
    ReleaseDatabase(db_, state_);
    return IdleEnding(RunEnding::NoSceneryArea, text::kNoSceneryArea);
  }

  RunSummary WriteFailedEnding(const std::string& failure) {
    TakeRecords(/*with_files=*/true);
    ReleaseDatabase(db_, state_);
    return IdleEnding(RunEnding::WriteFailed,
                      failure.empty() ? std::string(text::kDatabaseFilesNotWritten) : failure);
  }

  // Blanks the simulator folder in Program_Config.cfg so that the next
  // start asks for it again.
  RunSummary StartErrorEnding(std::string_view message) {
    view_.ShowMessage(std::string(message));
    if (halt_.stop_requested()) return HaltedEnding();
    state_.config.FS_Directory = std::string();
    state_.config.WriteProgramConfig(state_.TargetFolder / "Program_Config.cfg");
    view_.CloseMainWindow();
    return Finish(RunEnding::StartError, message);
  }

  RunSummary MemoryEnding() {
    ReleaseDatabase(db_, state_);
    view_.ShowMessage(std::string(text::kOutOfMemory));
    view_.CloseMainWindow();
    return Finish(RunEnding::OutOfMemory, text::kOutOfMemory);
  }

  RunSummary HaltedEnding() {
    ReleaseDatabase(db_, state_);
    return Finish(RunEnding::Halted, "");
  }

  // Window back to idle, then the message.
  RunSummary IdleEnding(RunEnding ending, std::string_view message) {
    Status("");
    view_.SetProgressPosition(0);
    state_.cancel = false;
    view_.EnableCreateButton(true);
    view_.EnableCancelButton(false);
    view_.ShowMessage(std::string(message));
    return Finish(ending, message);
  }

  void TakeRecords(bool with_files) {
    summary_.records = CountRecords(db_);
    if (with_files) summary_.files = ListOutputFiles(state_.TargetFolder);
  }

  RunSummary Finish(RunEnding ending, std::string_view message) {
    summary_.ending = ending;
    summary_.message = message;
    summary_.unreadable_files = std::move(problems_.unreadable_files);
    return std::move(summary_);
  }

  void Status(std::string_view text) { view_.SetStatusText(std::string(text)); }

  ProgramState& state_;
  HaltGuardView view_;
  std::stop_token halt_;
  NavDatabase db_;
  std::filesystem::path simulator_;
  LoaderProblems problems_;
  RunSummary summary_;
};

}  // namespace

RunSummary CreationRun(ProgramState& state, RunView& view, std::stop_token halt) {
  return Run(state, view, std::move(halt)).Execute();
}

void ReleaseDatabase(NavDatabase& db, ProgramState& state) {
  db.Release();
  state.config.ReleaseSceneryAreas();
}

}  // namespace tarnvale
