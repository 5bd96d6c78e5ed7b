// A run's new database set from its staging folder to its place in the
// target folder, and what the folder holds when the swap fails.
#include "output/set_replacement.h"

#include <system_error>
#include <thread>
#include <utility>

#include "platform/paths.h"

namespace tarnvale {
namespace {

// The set's database files among the names a swap placed.
std::vector<std::string> DatabaseFiles(const std::vector<std::string>& placed) {
  std::vector<std::string> files;
  for (const std::string& name : placed) {
    // The settings file travels with the set but is none of its files.
    if (IsOutputName(name)) files.push_back(name);
  }
  return files;
}

// What went wrong with a swap, and who finishes what it left.
std::string Account(SetState state, const std::optional<SetFailure>& failure,
                    const std::filesystem::path& staging) {
  switch (state) {
    case SetState::New:
      if (!failure) return {};
      return "Warning: could not finish removing " + platform::Utf8Of(staging) + ": " +
             failure->Describe() + "; the next run finishes it.";
    case SetState::Old:
      return "Could not replace " + failure->Describe() + ".";
    case SetState::FinishedByNextRun:
      return "Could not finish replacing the database files: " + failure->Describe() +
             ". The next run or start puts the new database files in place.";
    case SetState::RestoredByNextRun:
      break;
  }
  return "Could not replace " + failure->Describe() +
         ". Some of the previous database files wait in " + platform::Utf8Of(staging) +
         "; the next run or start puts them back.";
}

}  // namespace

SetReplacement::SetReplacement(NavDatabase& db, OutputSettings settings, const CancelFlag& cancel)
    : threads_(settings.Threads) {
  SetFailure failure;
  std::optional<StagedDatabaseSet> staged =
      StagedDatabaseSet::Create(settings.TargetFolder, failure);
  if (!staged) {
    prepare_failure_ = failure;
    return;
  }
  staged_.emplace(std::move(*staged));
  settings.OutputFolder = staged_->Folder();
  writing_.emplace(db, std::move(settings), cancel);
}

void SetReplacement::StartUnboundFiles() {
  if (writing_) writing_->StartUnboundFiles();
}

WriteResult SetReplacement::Write(ProgressView& view) {
  WriteResult result = writing_->Finish(view);
  if (result.status == WriteResult::Status::Written) {
    for (const std::string& name : result.kept_old) staged_->KeepOldFile(name);
  }
  return result;
}

std::optional<SetFailure> SetReplacement::StageSettings(std::string_view bytes) {
  return staged_->StageSettings(bytes);
}

CommitOutcome SetReplacement::Commit(const std::function<void()>& release) {
  std::jthread releasing;
  if (threads_ > 1) {
    try {
      releasing = std::jthread(release);
    } catch (const std::system_error&) {
      // The caller gives the database back after the swap instead.
    }
  }
  const std::optional<SetFailure> failure = staged_->Commit();
  if (releasing.joinable()) releasing.join();
  return {staged_->State(), Account(staged_->State(), failure, staged_->Folder()),
          DatabaseFiles(staged_->Placed()), staged_->Decided()};
}

void SetReplacement::Drop() {
  writing_.reset();
  staged_.reset();
}

}  // namespace tarnvale
