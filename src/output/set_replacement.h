// The new database set of a run, from the staging folder it is written into
// to its place in the target folder: the staging folder and the writing
// into it, the files binding leaves alone written while binding runs, the
// settings that travel with the set, the swap and what the target folder
// holds after it, and the database given back while the swap runs.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "domain/progress.h"
#include "output/database_set.h"
#include "output/database_writer.h"
#include "scenery/nav_database.h"

namespace tarnvale {

// What the target folder holds once the new set was to take the old one's
// place.
struct CommitOutcome {
  SetState state = SetState::Old;
  // New: a warning about a staging folder left behind, or empty. Otherwise
  // what failed and, when the folder is left half-way, who finishes it.
  std::string detail;
  // The database files that took their names, in file order (the settings
  // file that travels with them is none of them).
  std::vector<std::string> placed_files;
  // The swap was decided: the settings staged with the set stand with it,
  // now or once the next run or start has finished it.
  bool decided = false;
};

class SetReplacement {
 public:
  // Makes the staging folder in the target folder (finishing first what a
  // killed run left there) and prepares the writing of `db` into it;
  // `settings.OutputFolder` becomes the staging folder. Writes nothing yet.
  SetReplacement(NavDatabase& db, OutputSettings settings, const CancelFlag& cancel);
  ~SetReplacement() { Drop(); }
  SetReplacement(const SetReplacement&) = delete;
  SetReplacement& operator=(const SetReplacement&) = delete;

  // What kept the staging folder from being made. Nothing is written then,
  // and only StartUnboundFiles and Drop may be called.
  const std::optional<SetFailure>& PrepareFailure() const { return prepare_failure_; }

  // The folder the new set is written into; empty when it could not be made.
  std::filesystem::path StagingFolder() const {
    return staged_ ? staged_->Folder() : std::filesystem::path();
  }

  // Starts writing, on a thread of its own, the files binding leaves alone
  // (DatabaseWriting::StartUnboundFiles).
  void StartUnboundFiles();

  // Writes the remaining files and waits for the early ones
  // (DatabaseWriting::Finish). When every file is written, the old files
  // that the new set has none of stay in place.
  [[nodiscard]] WriteResult Write(ProgressView& view);

  // Stages the new bytes of the target's Program_Config.cfg, to take its
  // place together with the set.
  [[nodiscard]] std::optional<SetFailure> StageSettings(std::string_view bytes);

  // Puts the staged set in place of the old one. The database is read no
  // more: with more than one thread, `release` gives it back on a thread of
  // its own while the swap runs; otherwise (or when no thread can be had)
  // `release` is not called and the caller gives it back after.
  [[nodiscard]] CommitOutcome Commit(const std::function<void()>& release);

  // Waits for any file being written, then removes the staging folder and
  // what it holds, unless the swap was decided or old files wait there.
  void Drop();

 private:
  unsigned threads_;
  std::optional<SetFailure> prepare_failure_;
  std::optional<StagedDatabaseSet> staged_;
  std::optional<DatabaseWriting> writing_;  // ends before its staging folder goes
};

}  // namespace tarnvale
