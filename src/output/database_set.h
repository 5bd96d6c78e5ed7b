// The database set of a target folder, replaced whole or not at all.
//
// A run writes its new set into a staging folder inside the target folder
// (the same file system, so a file changes folders by a rename), each file
// flushed to disk. Until the whole new set is there, the old set is not
// touched. Then every old file that the new set replaces or drops is moved
// aside into the staging folder: a file that cannot be moved (read-only,
// immutable, held open by another program) is found here, while each moved
// file can still be put back, so a refusal leaves the old set whole. Then a
// journal saying what becomes of each name is written into the staging
// folder: from that moment the swap is decided, and the new files take their
// names. A failure after that puts everything back as it was; a kill or a
// power cut is finished by the next run or start (RecoverDatabaseSet), which
// also puts back the old files of a swap cut short before its decision.
//
// The target program's Program_Config.cfg may travel with the set: a
// simulator chosen for the next run is recorded together with the files
// built from it, so that the settings always name the simulator of the set
// that stands.
//
// Every routine here expects the caller to hold the target folder's lock.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "output/output_files.h"

namespace tarnvale {

// The files a run writes into the target folder, in the order in which the
// set is replaced.
inline constexpr OutputFileNames kOutputFileSet = NamesOfOutputFiles();

// True when `name` is one of the set's files (exact letter case).
bool IsOutputName(std::string_view name);

// The run's private folder inside the target folder.
inline constexpr std::string_view kStagingFolderName = ".tarnvale-staging";

// What went wrong with which entry.
struct SetFailure {
  std::filesystem::path path;
  std::error_code error;
  // "<path> (<reason>)"
  std::string Describe() const;
};

// What the target folder holds once a replacement has ended.
enum class SetState {
  Old,                // the old set, whole: nothing changed, or every change was undone
  New,                // the new set, whole
  FinishedByNextRun,  // the swap was decided; the next run or start completes it
  RestoredByNextRun,  // old files wait in the staging folder; the next run or start puts them back
};

// A staging folder that a run fills with its new set.
class StagedDatabaseSet {
 public:
  // A new, empty staging folder in `target_folder`. What a killed run left
  // there is finished or put back first (RecoverDatabaseSet).
  [[nodiscard]] static std::optional<StagedDatabaseSet> Create(
      const std::filesystem::path& target_folder, SetFailure& failure);

  StagedDatabaseSet(StagedDatabaseSet&& other) noexcept;
  StagedDatabaseSet& operator=(StagedDatabaseSet&&) = delete;
  StagedDatabaseSet(const StagedDatabaseSet&) = delete;
  StagedDatabaseSet& operator=(const StagedDatabaseSet&) = delete;
  // Removes the staging folder and what it holds, unless the swap was decided.
  ~StagedDatabaseSet();

  // Where the new files are to be written, under their output names.
  const std::filesystem::path& Folder() const { return staging_; }

  // Stages the new bytes of the target's Program_Config.cfg (under the name
  // the file has there), to take its place with the set.
  [[nodiscard]] std::optional<SetFailure> StageSettings(std::string_view bytes);

  // The new set has no file of this output name, and the old one stays as it
  // is (instead of being removed with the old set).
  void KeepOldFile(std::string_view name);

  // Puts the staged files in place of the target folder's set. A failure
  // before the swap is decided, or one that every change could be undone
  // after, leaves the old set exactly as it was; State() says what the
  // folder holds. After a success, a staging folder that could not be
  // removed is returned as the failure with State() New; the next run or
  // start removes it.
  [[nodiscard]] std::optional<SetFailure> Commit();
  SetState State() const { return state_; }
  // True once the swap is decided: the new set stands, or the next run or
  // start completes it.
  bool Decided() const { return decided_; }
  // The names that took new files, in file order (the settings file last).
  const std::vector<std::string>& Placed() const { return placed_; }

 private:
  StagedDatabaseSet(std::filesystem::path target, std::filesystem::path staging)
      : target_(std::move(target)), staging_(std::move(staging)) {}
  [[nodiscard]] bool DropJournal() const;
  SetFailure Undo(SetFailure failure, const std::vector<std::filesystem::path>& aside);

  std::filesystem::path target_;
  std::filesystem::path staging_;
  std::string settings_name_;          // the staged Program_Config.cfg's name, if any
  std::vector<std::string> kept_old_;  // output names left as they are
  std::vector<std::string> placed_;
  bool decided_ = false;
  SetState state_ = SetState::Old;
};

// Finishes a swap that was decided, or puts back the old files of one that
// was not and drops its staging folder, and removes the temporary files that
// an interrupted rewrite of Program_Config.cfg or an interrupted copy left
// ("<name>.tmp-XXXXXX"). Nothing else in the folder is touched. A staging
// entry that is no folder of ours (a link, a file) is left alone and
// returned as the failure.
[[nodiscard]] std::optional<SetFailure> RecoverDatabaseSet(
    const std::filesystem::path& target_folder);

// What an interrupted replacement left in a target folder, for the next run
// or start to finish.
enum class PendingReplacement {
  None,      // no staging folder
  Leftover,  // a run's staging folder, its swap never begun: it is removed
  Finish,    // a decided swap: the new files are put in place
  PutBack,   // old files wait in the staging folder: they are put back
};

// Looks at the staging folder without changing anything.
PendingReplacement PendingReplacementIn(const std::filesystem::path& target_folder);

// The first entry of `target_folder` that holds an output name (any letter
// case) but could not be replaced by a file: a folder.
std::optional<std::filesystem::path> BlockedOutputEntry(const std::filesystem::path& target_folder);

// What stands under the staging folder's name when it is no folder the run
// can use (a symbolic link, a file, a device), in a sentence that says what
// to do; empty when the name is free or holds a staging folder.
std::string StagingEntryProblem(const std::filesystem::path& target_folder);

// True when the target folder holds a database file with records: any
// output file but magdec.bgl that is not empty.
bool HoldsDatabaseRecords(const std::filesystem::path& target_folder);

// For tests that interrupt a run at every step: `observer` is called with the
// name of each step of writing and swapping as it is reached ("wrote
// world_airports.dat", "decided", "placed magdec.bgl", ...). nullptr: none.
using SetStepObserver = void (*)(std::string_view step);
void ObserveSetSteps(SetStepObserver observer);
// Reports one step to the observer, if there is one; calls from several
// threads reach it one at a time.
void NoteSetStep(std::string_view step);

}  // namespace tarnvale
