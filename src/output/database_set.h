// The database set of a target folder, replaced whole or not at all.
//
// A run writes its new set into a staging folder inside the target folder
// (the same file system, so a staged file takes its place by a rename), each
// file flushed to disk. Until the whole new set is there, the old set is not
// touched. Then a journal naming the new set's files is written into the
// staging folder: from that moment the swap is decided, and if anything cuts
// it short (a kill, a power cut), the next run or start finishes it
// (RecoverDatabaseSet). Each new file takes its output name in one rename, so
// an output name always holds a whole file, old or new; old files whose names
// the new set does not have are removed last.
//
// Every routine here expects the caller to hold the target folder's lock.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace tarnvale {

// The files a run writes into the target folder.
inline constexpr std::array<std::string_view, 9> kOutputFileSet = {
    "world_airports.dat",   "world_navaids.dat",        "world_markers.dat",
    "world_fuel_areas.dat", "additional_airspaces.dat", "world_fixpoints.dat",
    "world_airways_j.dat",  "world_airways_v.dat",      "magdec.bgl"};

// The run's private folder inside the target folder.
inline constexpr std::string_view kStagingFolderName = ".tarnvale-staging";

// What went wrong with which entry.
struct SetFailure {
  std::filesystem::path path;
  std::error_code error;
  // "<path> (<reason>)"
  std::string Describe() const;
};

// A staging folder that a run fills with its new set.
class StagedDatabaseSet {
 public:
  // A new, empty staging folder in `target_folder`. What a killed run left
  // there is finished or dropped first (RecoverDatabaseSet).
  static std::optional<StagedDatabaseSet> Create(const std::filesystem::path& target_folder,
                                                 SetFailure& failure);

  StagedDatabaseSet(StagedDatabaseSet&& other) noexcept;
  StagedDatabaseSet& operator=(StagedDatabaseSet&&) = delete;
  StagedDatabaseSet(const StagedDatabaseSet&) = delete;
  StagedDatabaseSet& operator=(const StagedDatabaseSet&) = delete;
  // Removes the staging folder and what it holds, unless the swap was decided.
  ~StagedDatabaseSet();

  // Where the new files are to be written, under their output names.
  const std::filesystem::path& Folder() const { return staging_; }

  // Puts the staged files in place of the target folder's set. Before the
  // swap is decided, a failure leaves the old set exactly as it was; after,
  // the swap goes on with the other names and the next run or start retries
  // what failed.
  std::optional<SetFailure> Commit();
  // True once the swap is decided: the next run or start completes it.
  bool Decided() const { return decided_; }

 private:
  StagedDatabaseSet(std::filesystem::path target, std::filesystem::path staging)
      : target_(std::move(target)), staging_(std::move(staging)) {}

  std::filesystem::path target_;
  std::filesystem::path staging_;
  bool decided_ = false;
};

// Finishes a swap that was decided, or drops the staging folder of one that
// was not, and removes the temporary files that an interrupted rewrite of
// Program_Config.cfg or an interrupted copy left ("<name>.tmp-XXXXXX").
// Nothing else in the folder is touched.
std::optional<SetFailure> RecoverDatabaseSet(const std::filesystem::path& target_folder);

// The first entry of `target_folder` that holds an output name (any letter
// case) but could not be replaced by a file: a folder.
std::optional<std::filesystem::path> BlockedOutputEntry(const std::filesystem::path& target_folder);

// For tests that interrupt a run at every step: `observer` is called with the
// name of each step of writing and swapping as it is reached ("wrote
// world_airports.dat", "decided", "placed magdec.bgl", ...). nullptr: none.
using SetStepObserver = void (*)(std::string_view step);
void ObserveSetSteps(SetStepObserver observer);
// Reports one step to the observer, if there is one; calls from several
// threads reach it one at a time.
void NoteSetStep(std::string_view step);

}  // namespace tarnvale
