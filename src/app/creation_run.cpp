#include "app/creation_run.h"

#include <chrono>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "app/messages.h"
#include "app/report_archive.h"
#include "app/scan_report.h"
#include "output/binding.h"
#include "output/database_set.h"
#include "output/database_writer.h"
#include "platform/code_page.h"
#include "platform/directory_search.h"
#include "platform/paths.h"
#include "platform/system.h"
#include "scenery/bgl_loader.h"
#include "scenery/parallel_loader.h"

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
  void ShowRunEnding(const std::string& text, const RunSummary& summary) override {
    if (Open()) window_.ShowRunEnding(text, summary);
  }
  void CloseMainWindow() override {
    if (Open()) window_.CloseMainWindow();
  }
  std::string SimulatorAskedAgain() const override { return window_.SimulatorAskedAgain(); }

 private:
  bool Open() const { return !halt_.stop_requested(); }
  RunView& window_;
  std::stop_token halt_;
};

// A folder the run can work in: it exists and may be entered.
bool CanEnter(const std::filesystem::path& folder) {
  return !folder.empty() && platform::CanEnterFolder(folder);
}

// The records of each kind; runways are counted over the airports from
// `first_airport` on, so that an area's count does not walk every airport
// read before it.
std::vector<RecordCount> CountRecords(const NavDatabase& db, std::size_t first_airport = 0) {
  std::size_t runways = 0;
  for (std::size_t a = first_airport; a < db.Airports.size(); ++a) {
    runways += db.Airports[a].Runways.size();
  }
  return {{"airports", db.Airports.size()},
          {"runways", runways},
          {"fuel areas", db.FuelAreas.size()},
          {"airspaces", db.Airspaces.size()},
          {"VORs", db.Vors.size()},
          {"NDBs", db.Ndbs.size()},
          {"markers", db.Markers.size()},
          {"ILS", db.Ilss.size()},
          {"intersections", db.Fixes.size()},
          {"jet airways", db.JetAirways.size()},
          {"victor airways", db.VictorAirways.size()}};
}

// The records of each kind that `after` holds beyond `before` (both from
// CountRecords, so in the same order).
std::vector<RecordCount> RecordsAdded(const std::vector<RecordCount>& before,
                                      std::vector<RecordCount> after) {
  for (std::size_t i = 0; i < after.size(); ++i) after[i].count -= before[i].count;
  return after;
}

// The database files a replacement put in place, with their sizes.
std::vector<WrittenFile> InstalledFiles(const std::filesystem::path& target_folder,
                                        const std::vector<std::string>& placed) {
  std::vector<WrittenFile> files;
  for (const std::string& name : placed) {
    if (std::find(kOutputFileSet.begin(), kOutputFileSet.end(), name) == kOutputFileSet.end()) {
      continue;  // the settings file travels with the set but is none of its files
    }
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(target_folder / name, error);
    if (!error) files.push_back({name, bytes});
  }
  return files;
}

// "13 active scenery areas of /sim (13 missing)": what the areas gave.
std::string ActiveAreasText(std::size_t active, std::size_t missing,
                            const std::filesystem::path& simulator) {
  std::string text =
      std::to_string(active) + " active scenery areas of " + platform::Utf8Of(simulator);
  if (missing != 0) text += " (" + std::to_string(missing) + " missing)";
  return text;
}

template <typename Phase>
auto Timed(std::chrono::nanoseconds& spent, Phase phase) {
  const Clock::time_point start = Clock::now();
  auto result = phase();
  spent = Clock::now() - start;
  return result;
}

// Why a phase stopped before its end.
enum class Interruption { None, Halt, Cancel, OutOfMemory, SystemFailure };

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
      DropOutput();  // before the database it reads is released
      return MemoryEnding();
    }
  }

 private:
  RunSummary Phases() {
    simulator_ = SimulatorFolder();
    if (!CanEnter(simulator_)) {
      return StartErrorEnding(
          text::kInvalidSimulatorFolder,
          "The simulator folder " + SimulatorFolderText() + " is not there or cannot be entered.");
    }
    const std::filesystem::path library = platform::FindFile(simulator_, "Scenery.cfg");
    if (library.empty()) {
      return StartErrorEnding(text::kSceneryLibraryMissing,
                              "No Scenery.cfg in " + platform::Utf8Of(simulator_) + ".");
    }

    Status(text::kReadingSceneryLibrary);
    state_.config.ReleaseSceneryAreas();
    std::error_code unreadable;
    const CfgResult read = state_.config.ReadSceneryLibrary(library, &unreadable);
    if (read == CfgResult::Failed) return MemoryEnding();
    if (read == CfgResult::Unreadable) {
      return StartErrorEnding(
          text::kSceneryLibraryMissing,
          platform::Utf8Of(library) + " cannot be read (" + unreadable.message() + ").");
    }
    if (state_.config.SceneryAreas.empty()) return NoSceneryAreaEnding();

    PlanAreas();
    summary_.bgl_files = Timed(summary_.times.counting, [&] { return CountBglFiles(); });
    PrepareProgressBar();
    Interruption stop = Timed(summary_.times.loading, [&] { return LoadScenery(); });
    if (stop != Interruption::None) return Interrupted(stop);
    // A wrong simulator folder or a renamed drive reads nothing at all: that
    // is no reason to swap a working set for an empty one.
    if (!WritesAnyRecord(db_, Settings({})) && HoldsDatabaseRecords(state_.TargetFolder)) {
      return NothingReadEnding();
    }
    if (ThreadCount() > kBindingThreads) StartWriting();
    stop = Timed(summary_.times.binding, [&] { return Bind(); });
    if (stop != Interruption::None) {
      DropOutput();
      return Interrupted(stop);
    }
    return WriteFiles();
  }

  // FS_Directory as a path of this machine; a relative one is taken against
  // the target folder, where the window stands when a run starts.
  std::filesystem::path SimulatorFolder() const {
    const std::optional<std::string>& recorded = state_.config.FS_Directory;
    if (!recorded || recorded->empty()) return {};
    return platform::ResolvePath(*recorded, state_.TargetFolder);
  }

  // How the simulator folder is named in messages: the path it resolved to,
  // or what Program_Config.cfg records when that is nothing.
  std::string SimulatorFolderText() const {
    if (!simulator_.empty()) return platform::Utf8Of(simulator_);
    const std::optional<std::string>& recorded = state_.config.FS_Directory;
    return recorded ? "\"" + *recorded + "\"" : "(none recorded)";
  }

  // Every area in the order the run reads them, from the last in
  // Scenery.cfg to the first, with what the run makes of it.
  void PlanAreas() {
    ScanReport& scan = summary_.scan;
    scan.simulator = simulator_;
    scan.fs_version = state_.config.FS_Version;
    scan.target = state_.TargetFolder;
    const std::vector<SceneryArea>& all = state_.config.SceneryAreas;
    for (auto area = all.rbegin(); area != all.rend(); ++area) {
      areas_.push_back(&*area);
      scan.areas.push_back(PlannedScan(*area));
      if (!area->Active) continue;
      ++active_areas_;
      const AreaStatus status = scan.areas.back().status;
      missing_areas_ += status == AreaStatus::Missing || status == AreaStatus::TooLong ? 1 : 0;
    }
  }

  AreaScan PlannedScan(const SceneryArea& area) const {
    AreaScan scan;
    // Scenery.cfg is 8-bit text in a Windows code page; shown as UTF-8.
    scan.title = platform::DisplayText(area.Title.value_or(""));
    scan.local = platform::DisplayText(area.LocalText);
    scan.folder = area.Local;
    if (scan.folder.empty() && !area.LocalText.empty()) {
      scan.folder = platform::ResolvePath(area.LocalText + "\\Scenery", simulator_);
    }
    if (!area.Active) {
      scan.status = AreaStatus::Inactive;
    } else if (area.LocalTooLong) {
      scan.status = AreaStatus::TooLong;
    } else if (!CanEnter(area.Local)) {
      scan.status = AreaStatus::Missing;
    }
    return scan;
  }

  // Lists the scenery files of each area that is read; loading reads the
  // same list.
  std::int32_t CountBglFiles() {
    Status(text::kCountingBglFiles);
    std::int32_t count = 0;
    area_files_.resize(summary_.scan.areas.size());
    for (std::size_t i = 0; i < area_files_.size(); ++i) {
      AreaScan& area = summary_.scan.areas[i];
      if (area.status != AreaStatus::Read) continue;
      area_files_[i] = platform::FindMatches(area.folder, "*.bgl");
      area.bgl_files = static_cast<std::int32_t>(area_files_[i].files.size());
      count += area.bgl_files;
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

  // The title of each active area with a folder goes to the status line
  // while it is read. With more than one loading thread the files are read
  // ahead on a pool and their records appended here in the same order.
  Interruption LoadScenery() {
    std::optional<ParallelLoader> pool;
    if (const unsigned threads = ThreadCount(); threads > 1) {
      pool.emplace(FilesToRead(), state_.config.FS_Version, threads);
    }
    for (std::size_t i = 0; i < areas_.size(); ++i) {
      const SceneryArea& area = *areas_[i];
      if (area.Local.empty() || !area.Active) continue;
      if (area.Title) Status(platform::DisplayText(*area.Title));
      AreaScan& scan = summary_.scan.areas[i];
      if (scan.status != AreaStatus::Read) continue;
      const std::size_t first_airport = db_.Airports.size();
      const std::vector<RecordCount> before = CountRecords(db_, first_airport);
      const Interruption stop = LoadArea(area_files_[i], pool ? &*pool : nullptr);
      scan.records = RecordsAdded(before, CountRecords(db_, first_airport));
      if (stop != Interruption::None) {
        MarkNotRead(i);
        return stop;
      }
    }
    return Interruption::None;
  }

  // The areas from `first` on that the run was to read, and did not read whole.
  void MarkNotRead(std::size_t first) {
    for (std::size_t i = first; i < summary_.scan.areas.size(); ++i) {
      AreaScan& area = summary_.scan.areas[i];
      if (area.status == AreaStatus::Read) area.status = AreaStatus::NotRead;
    }
  }

  // Threads that read and write files. A budget counts the allocations of
  // one sequence of appends.
  unsigned ThreadCount() const {
    if (state_.database_allocation_budget) return 1;
    return LoadingThreads(state_.threads);
  }

  std::vector<const std::filesystem::path*> FilesToRead() const {
    std::vector<const std::filesystem::path*> files;
    for (const platform::FolderMatches& matches : area_files_) {
      for (const std::filesystem::path& file : matches.files) files.push_back(&file);
    }
    return files;
  }

  // Entries named like scenery files that are no files are passed over as
  // unreadable.
  Interruption LoadArea(const platform::FolderMatches& matches, ParallelLoader* pool) {
    for (const std::filesystem::path& other : matches.others) {
      summary_.scan.files.push_back({other, FileStatus::Unreadable, 0});
    }
    for (const std::filesystem::path& file : matches.files) {
      Interruption stop = CheckPoint();
      if (stop != Interruption::None) return stop;
      FileReading reading;
      stop = pool ? TakeLoadedFile(*pool, reading) : LoadFile(file, reading);
      if (stop == Interruption::Halt || stop == Interruption::Cancel) return stop;
      // Out of file handles, a failing disk: passing the file over would
      // give a smaller set that looks whole.
      if (reading.system_failure) {
        system_failure_ = SetFailure{file, reading.system_failure};
        return Interruption::SystemFailure;
      }
      if (reading.status != FileStatus::Read) {
        summary_.scan.files.push_back({file, reading.status, reading.skipped});
      }
      view_.StepProgress();
      if (stop == Interruption::OutOfMemory) return stop;
    }
    return Interruption::None;
  }

  Interruption LoadFile(const std::filesystem::path& file, FileReading& reading) {
    const LoadResult result = BglLoader(db_, file, state_.config.FS_Version, &reading);
    return result == LoadResult::OutOfMemory ? Interruption::OutOfMemory : Interruption::None;
  }

  // The pool's next file, merged; a halt or cancel while waiting for it
  // ends the wait.
  Interruption TakeLoadedFile(ParallelLoader& pool, FileReading& reading) {
    std::unique_ptr<LoadedFile> loaded =
        pool.Next([this] { return CheckPoint() != Interruption::None; });
    if (!loaded) {
      const Interruption stop = CheckPoint();
      return stop == Interruption::None ? Interruption::OutOfMemory : stop;
    }
    const LoadResult result = MergeLoadedFile(db_, *loaded, state_.config.FS_Version);
    reading = loaded->reading;
    pool.Recycle(std::move(loaded));
    return result == LoadResult::OutOfMemory ? Interruption::OutOfMemory : Interruption::None;
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
      stop =
          RunBindStep(!db_.Fixes.empty() && !db_.VictorAirways.empty(), text::kBindingVictorAirways,
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

  // Writes the new set into a staging folder and, once it is whole, puts it
  // in place of the old one. Every ending before that keeps the old set.
  RunSummary WriteFiles() {
    Status(text::kCreatingFiles);
    if (!staged_ && !staging_failure_) PrepareOutput();
    if (!staged_) {
      return WriteFailedEnding("Could not prepare " + staging_failure_->Describe() + ".");
    }
    const WriteResult result =
        Timed(summary_.times.writing, [&] { return writing_->Finish(view_); });
    if (result.status == WriteResult::Status::Written && !halt_.stop_requested()) {
      for (const std::string& name : result.kept_old) staged_->KeepOldFile(name);
      write_warnings_ = result.warnings;
      if (std::optional<SetFailure> failure = StagePendingSettings()) {
        DropOutput();
        return WriteFailedEnding("Could not write " + failure->Describe() + ".");
      }
      Status(text::kFinishing);
      return PutInPlace(*staged_);
    }
    DropOutput();
    if (result.status == WriteResult::Status::Failed) return WriteFailedEnding(result.failure);
    return halt_.stop_requested() ? HaltedEnding() : CancelEnding();
  }

  // A simulator chosen for this run goes into Program_Config.cfg with the
  // set built from it, never before.
  std::optional<SetFailure> StagePendingSettings() {
    if (!state_.simulator_pending) return std::nullopt;
    return staged_->StageSettings(state_.config.ProgramConfigText());
  }

  OutputSettings Settings(const std::filesystem::path& output_folder) const {
    OutputSettings settings{state_.config.Program_Id, state_.config.FS_Version,
                            platform::Utf8Of(simulator_), state_.TargetFolder, output_folder};
    settings.Threads = ThreadCount();
    return settings;
  }

  // The staging folder and the writing into it.
  void PrepareOutput() {
    SetFailure failure;
    std::optional<StagedDatabaseSet> staged =
        StagedDatabaseSet::Create(state_.TargetFolder, failure);
    if (!staged) {
      staging_failure_ = failure;
      return;
    }
    staged_.emplace(std::move(*staged));
    writing_.emplace(db_, Settings(staged_->Folder()), state_.cancel);
  }

  // With a thread to spare beside binding's, the files binding leaves alone
  // are written while it runs, into a staging folder made before it; a
  // cancel or halt during binding drops them with the folder. Without one
  // they would only slow binding down.
  void StartWriting() {
    PrepareOutput();
    if (writing_) writing_->StartUnboundFiles();
  }

  // Waits for any file being written, then removes the staging folder.
  void DropOutput() {
    writing_.reset();
    staged_.reset();
  }

  // The database is read no more once its files are written: its records
  // are counted, and with more than one thread it is given back on a thread
  // of its own while the new set takes the old one's place.
  RunSummary PutInPlace(StagedDatabaseSet& staged) {
    TakeRecords();
    const Clock::time_point start = Clock::now();
    std::jthread release;
    if (ThreadCount() > 1) {
      try {
        release = std::jthread([this] { ReleaseDatabase(db_, state_); });
      } catch (const std::system_error&) {
        // Released after the swap instead.
      }
    }
    const std::optional<SetFailure> failure = staged.Commit();
    if (release.joinable()) release.join();
    summary_.times.writing += Clock::now() - start;
    // The settings go with the set: in place with it, or with it next run.
    if (staged.Decided()) state_.simulator_pending = false;
    switch (staged.State()) {
      case SetState::New:
        summary_.files = InstalledFiles(state_.TargetFolder, staged.Placed());
        if (failure) {
          write_warnings_.push_back("Warning: could not finish removing " +
                                    platform::Utf8Of(staged.Folder()) + ": " + failure->Describe() +
                                    "; the next run finishes it.");
        }
        return SuccessEnding();
      case SetState::Old:
        return WriteFailedEnding("Could not replace " + failure->Describe() + ".");
      case SetState::FinishedByNextRun:
        return UnfinishedEnding(
            "Could not finish replacing the database files: " + failure->Describe() +
            ". The next run or start puts the new database files in place.");
      case SetState::RestoredByNextRun:
        break;
    }
    return UnfinishedEnding("Could not replace " + failure->Describe() +
                            ". Some of the previous database files wait in " +
                            platform::Utf8Of(staged.Folder()) +
                            "; the next run or start puts them back.");
  }

  RunSummary Interrupted(Interruption stop) {
    if (stop == Interruption::Halt) return HaltedEnding();
    if (stop == Interruption::Cancel) return CancelEnding();
    if (stop == Interruption::SystemFailure) return ReadFailedEnding();
    return MemoryEnding();
  }

  // The closing sequences.

  RunSummary SuccessEnding() {
    TakeRecords();
    ReleaseDatabase(db_, state_);
    std::string warnings = no_airports_ ? NoAirportsWarning() : "";
    for (const std::string& warning : write_warnings_) {
      warnings += (warnings.empty() ? "" : "\n") + warning;
    }
    return IdleEnding(RunEnding::Success, text::WithDetail(text::kRunSucceeded, warnings));
  }

  // A set without airports usually means the wrong simulator folder.
  std::string NoAirportsWarning() const {
    return "Warning: no airports were found in the " +
           ActiveAreasText(active_areas_, missing_areas_, simulator_) +
           ". Is this the simulator's main folder?";
  }

  // The system failed while a scenery file was read: the set would lack it.
  RunSummary ReadFailedEnding() {
    TakeRecords();
    ReleaseDatabase(db_, state_);
    return IdleEnding(
        RunEnding::ReadFailed,
        text::WithDetail(text::kSceneryNotRead, "Could not read " + system_failure_->Describe() +
                                                    ": the system failed, not the file. " +
                                                    std::string(text::kPreviousSetKept)));
  }

  // Nothing was read, and the folder holds a set that has records: it stays.
  RunSummary NothingReadEnding() {
    TakeRecords();
    ReleaseDatabase(db_, state_);
    return IdleEnding(
        RunEnding::NothingRead,
        text::WithDetail(text::kNothingRead,
                         "None of the " +
                             ActiveAreasText(active_areas_, missing_areas_, simulator_) +
                             " gave a record. " + std::string(text::kPreviousSetKept)));
  }

  // The replacement failed half-way and could not be undone: the message
  // says what the folder holds and who finishes it.
  RunSummary UnfinishedEnding(const std::string& detail) {
    TakeRecords();
    ReleaseDatabase(db_, state_);
    return IdleEnding(RunEnding::WriteFailed,
                      text::WithDetail(text::kDatabaseFilesNotWritten, detail));
  }

  // Whatever the writer staged is gone already; the old set stands.
  RunSummary CancelEnding() {
    TakeRecords();
    ReleaseDatabase(db_, state_);
    return IdleEnding(RunEnding::Cancelled,
                      text::WithDetail(text::kRunCancelled, text::kPreviousSetKept));
  }

  // Nothing was built, but the window stays usable for another run.
  RunSummary NoSceneryAreaEnding() {
    ReleaseDatabase(db_, state_);
    return IdleEnding(RunEnding::NoSceneryArea, text::kNoSceneryArea);
  }

  // Nothing of the new set was put in place.
  RunSummary WriteFailedEnding(const std::string& failure) {
    TakeRecords();
    ReleaseDatabase(db_, state_);
    return IdleEnding(RunEnding::WriteFailed,
                      text::WithDetail(text::kDatabaseFilesNotWritten,
                                       text::WithDetail(failure, text::kPreviousSetKept)));
  }

  // Blanks the simulator folder in Program_Config.cfg so that the next
  // start asks for it again. The database files stay as they were.
  RunSummary StartErrorEnding(std::string_view text, const std::string& detail) {
    const std::string message = text::WithDetail(
        text, detail + " The simulator folder is cleared from Program_Config.cfg: " +
                  view_.SimulatorAskedAgain() + " " + std::string(text::kPreviousSetKept));
    view_.ShowMessage(message);
    if (halt_.stop_requested()) return HaltedEnding();
    state_.config.FS_Directory = std::string();
    // The window closes either way; a file that could not be rewritten still
    // names the unusable folder, and the next run ends here again.
    static_cast<void>(state_.config.WriteProgramConfig(state_.TargetFolder / "Program_Config.cfg"));
    view_.CloseMainWindow();
    return Finish(RunEnding::StartError, message);
  }

  RunSummary MemoryEnding() {
    ReleaseDatabase(db_, state_);
    const std::string message = text::WithDetail(text::kOutOfMemory, text::kPreviousSetKept);
    view_.ShowMessage(message);
    view_.CloseMainWindow();
    return Finish(RunEnding::OutOfMemory, message);
  }

  RunSummary HaltedEnding() {
    ReleaseDatabase(db_, state_);
    return Finish(RunEnding::Halted, "");
  }

  // Window back to idle, then the message with what the run read.
  RunSummary IdleEnding(RunEnding ending, std::string_view message) {
    Status("");
    view_.SetProgressPosition(0);
    state_.cancel = false;
    view_.EnableCreateButton(true);
    view_.EnableCancelButton(false);
    RunSummary summary = Finish(ending, message);
    view_.ShowRunEnding(std::string(message), summary);
    return summary;
  }

  // Counts what the database holds, and what reading and writing noticed,
  // before it is released; later calls change nothing.
  void TakeRecords() {
    if (records_taken_) return;
    records_taken_ = true;
    no_airports_ = db_.Airports.empty();
    summary_.records = CountRecords(db_);
    ScanReport& scan = summary_.scan;
    for (const FixedText<6>& ident : db_.notes.duplicate_airports) {
      scan.duplicate_airports.emplace_back(TextOf(ident));
    }
    scan.duplicate_fixes = db_.Fixes.size() - db_.FixIndexSize();
  }

  RunSummary Finish(RunEnding ending, std::string_view message) {
    ScanReport& scan = summary_.scan;
    scan.warnings = ScanWarnings(scan);
    if (no_airports_) scan.warnings.insert(scan.warnings.begin(), NoAirportsWarning());
    scan.warnings.insert(scan.warnings.end(), write_warnings_.begin(), write_warnings_.end());
    summary_.ending = ending;
    summary_.message = message;
    return std::move(summary_);
  }

  void Status(std::string_view text) { view_.SetStatusText(std::string(text)); }

  ProgramState& state_;
  HaltGuardView view_;
  std::stop_token halt_;
  NavDatabase db_;
  std::filesystem::path simulator_;
  // In reading order, as summary_.scan.areas; valid until the database and
  // the area list are released.
  std::vector<const SceneryArea*> areas_;
  std::vector<platform::FolderMatches> area_files_;  // as summary_.scan.areas
  // Declared after db_: the writing, which reads it, ends first.
  std::optional<SetFailure> staging_failure_;
  std::optional<StagedDatabaseSet> staged_;
  std::optional<DatabaseWriting> writing_;    // ends before its staging folder goes
  std::size_t active_areas_ = 0;              // areas marked active
  std::size_t missing_areas_ = 0;             // of those, the ones without a usable folder
  std::vector<std::string> write_warnings_;   // what writing kept of the old set, and why
  std::optional<SetFailure> system_failure_;  // the file whose reading the system failed
  bool records_taken_ = false;
  bool no_airports_ = false;
  RunSummary summary_;
};

}  // namespace

RunSummary CreationRun(ProgramState& state, RunView& view, std::stop_token halt) {
  RunSummary summary = Run(state, view, halt).Execute();
  if (state.report_archive.empty() || summary.scan.areas.empty() || halt.stop_requested()) {
    return summary;
  }
  std::string error;
  summary.kept_report = KeepReport(summary, state.report_archive, error).value_or("");
  if (!error.empty()) summary.scan.warnings.push_back("Warning: " + error);
  return summary;
}

void ReleaseDatabase(NavDatabase& db, ProgramState& state) {
  db.Release();
  state.config.ReleaseSceneryAreas();
}

}  // namespace tarnvale
