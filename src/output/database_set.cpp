// The staging folder, the journal and the moves that replace a target
// folder's database set as a whole, and the recovery of a replacement cut
// short.
#include "output/database_set.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <mutex>
#include <utility>

#include "platform/ascii_text.h"
#include "platform/directory_search.h"
#include "platform/file_operations.h"
#include "platform/paths.h"
#include "platform/system_file.h"

namespace tarnvale {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kJournalName = "journal";
constexpr std::string_view kPreviousFolderName = "previous";
constexpr std::string_view kProgramConfigName = "Program_Config.cfg";
constexpr std::string_view kPlaceWord = "place ";
constexpr std::string_view kDropWord = "drop ";

std::atomic<SetStepObserver> step_observer{nullptr};
// Files are written on several threads: the observer hears one step at a time.
std::mutex step_mutex;

std::vector<fs::path> SortedByName(std::vector<fs::path> entries) {
  platform::SortByName(entries);
  return entries;
}

// Every entry of `folder` named `name` in any letter case, files and folders
// alike, in search order.
std::vector<fs::path> EntriesNamed(const fs::path& folder, std::string_view name) {
  std::vector<fs::path> entries;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (platform::EqualsIgnoreCase(platform::Utf8Of(it->path().filename()), name)) {
      entries.push_back(it->path());
    }
  }
  return SortedByName(std::move(entries));
}

std::vector<fs::path> EntriesOf(const fs::path& folder) {
  std::vector<fs::path> entries;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    entries.push_back(it->path());
  }
  return SortedByName(std::move(entries));
}

bool IsRealFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(fs::symlink_status(path, error));
}

bool IsPresent(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

bool IsSettingsName(std::string_view name) {
  return platform::EqualsIgnoreCase(name, kProgramConfigName);
}

// What becomes of each name when the set is replaced. A name in neither
// list (magdec.bgl without a new copy, Program_Config.cfg without new
// settings) keeps its old file.
struct Journal {
  std::vector<std::string> place;  // the new file takes the name; an old one goes
  std::vector<std::string> drop;   // the old file goes, and no new one comes
};

std::string JournalText(const Journal& journal) {
  std::string text;
  for (const std::string& name : journal.place) ((text += kPlaceWord) += name) += '\n';
  for (const std::string& name : journal.drop) ((text += kDropWord) += name) += '\n';
  return text;
}

// The journal's actions on names it may act on; foreign lines are ignored.
// A journal of bare names (from an earlier version) places those and drops
// every other output name.
Journal ReadJournal(const fs::path& path) {
  Journal journal;
  bool bare_names = false;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    const std::string_view text(line);
    if (text.starts_with(kPlaceWord)) {
      const std::string_view name = text.substr(kPlaceWord.size());
      if (IsOutputName(name) || IsSettingsName(name)) journal.place.emplace_back(name);
    } else if (text.starts_with(kDropWord)) {
      const std::string_view name = text.substr(kDropWord.size());
      if (IsOutputName(name)) journal.drop.emplace_back(name);
    } else if (IsOutputName(text)) {
      journal.place.emplace_back(text);
      bare_names = true;
    }
  }
  if (bare_names) {
    for (std::string_view name : kOutputFileSet) {
      if (std::find(journal.place.begin(), journal.place.end(), name) == journal.place.end()) {
        journal.drop.emplace_back(name);
      }
    }
  }
  return journal;
}

// Moves every entry of `target` named `name` (any letter case) into
// `previous`, noting each one's new path in `aside`. An entry whose name
// `previous` holds already (an earlier attempt moved the old file aside)
// is removed instead. A folder is never moved.
std::optional<SetFailure> MoveAside(const fs::path& target, const fs::path& previous,
                                    std::string_view name, std::vector<fs::path>& aside) {
  for (const fs::path& entry : EntriesNamed(target, name)) {
    if (IsRealFolder(entry))
      return SetFailure{entry, std::make_error_code(std::errc::is_a_directory)};
    const fs::path destination = previous / entry.filename();
    const bool moved = !IsPresent(destination);
    const std::error_code error =
        moved ? platform::RenameEntry(entry, destination) : platform::DeleteFile(entry);
    if (error) return SetFailure{entry, error};
    if (moved) aside.push_back(destination);
    NoteSetStep("moved aside " + platform::Utf8Of(entry.filename()));
  }
  return std::nullopt;
}

// The folder inside `staging` that the old files are moved aside into; one
// that is there already is used as it is.
std::optional<SetFailure> MakePreviousFolder(const fs::path& staging) {
  const fs::path previous = staging / kPreviousFolderName;
  const std::error_code error = platform::CreateFolder(previous);
  if (error && !(error == std::errc::file_exists && IsRealFolder(previous))) {
    return SetFailure{previous, error};
  }
  return std::nullopt;
}

// Gives each placed name its new file and moves the old files of every
// name the journal acts on aside. Every step can be taken again: a swap cut
// short is finished by running it once more with the same journal.
std::optional<SetFailure> FinishSwap(const fs::path& target, const fs::path& staging,
                                     const Journal& journal, std::vector<std::string>& placed) {
  // A journal of an earlier version has no folder for the old files.
  if (std::optional<SetFailure> failure = MakePreviousFolder(staging)) return failure;
  const fs::path previous = staging / kPreviousFolderName;
  std::vector<fs::path> aside;
  std::error_code error;
  for (const std::string& name : journal.place) {
    if (!IsPresent(staging / name)) continue;  // placed before
    if (std::optional<SetFailure> failure = MoveAside(target, previous, name, aside)) {
      return failure;
    }
    if ((error = platform::RenameEntry(staging / name, target / name))) {
      return SetFailure{target / name, error};
    }
    placed.push_back(name);
    NoteSetStep("placed " + name);
  }
  for (const std::string& name : journal.drop) {
    if (std::optional<SetFailure> failure = MoveAside(target, previous, name, aside)) {
      return failure;
    }
  }
  return std::nullopt;
}

// What the swap does: each name staged is placed, each old output file that
// the new set lacks is dropped, except those kept as they are.
Journal JournalFor(const fs::path& staging, const std::vector<std::string>& kept_old,
                   const std::string& settings_name) {
  Journal journal;
  for (std::string_view name : kOutputFileSet) {
    std::error_code error;
    if (fs::is_regular_file(fs::symlink_status(staging / name, error))) {
      journal.place.emplace_back(name);
    } else if (std::find(kept_old.begin(), kept_old.end(), name) == kept_old.end()) {
      journal.drop.emplace_back(name);
    }
  }
  if (!settings_name.empty()) journal.place.push_back(settings_name);
  return journal;
}

// Moves the old file of every name the journal touches into the previous
// folder, noting each one moved in `aside`, and flushes the staging folder:
// whatever cannot be moved is found while each file moved so far can still
// be put back.
std::optional<SetFailure> MoveOldFilesAside(const fs::path& target, const fs::path& staging,
                                            const Journal& journal, std::vector<fs::path>& aside) {
  const fs::path previous = staging / kPreviousFolderName;
  for (const std::vector<std::string>* names : {&journal.place, &journal.drop}) {
    for (const std::string& name : *names) {
      if (std::optional<SetFailure> failure = MoveAside(target, previous, name, aside)) {
        return failure;
      }
    }
  }
  if (const std::error_code error = platform::SyncFolder(staging))
    return SetFailure{staging, error};
  return std::nullopt;
}

// Puts every old file waiting in `previous` back under its name. A name
// that holds the same bytes again holds that very file: a power cut kept
// the move's new name but not the removal of the old one, and the copy
// aside goes. An entry whose name another file took stays where it is, and
// the failure names it.
std::optional<SetFailure> PutBack(const fs::path& target, const std::vector<fs::path>& aside) {
  for (const fs::path& entry : aside) {
    const fs::path destination = target / entry.filename();
    std::error_code error;
    if (!IsPresent(destination)) {
      error = platform::RenameEntry(entry, destination);
    } else if (platform::SameContents(entry, destination)) {
      error = platform::DeleteFile(entry);
    } else {
      return SetFailure{destination, std::make_error_code(std::errc::file_exists)};
    }
    if (error) return SetFailure{entry, error};
  }
  if (const std::error_code error = platform::SyncFolder(target)) return SetFailure{target, error};
  return std::nullopt;
}

// Removes the staging folder: the old files first, then the journal, so
// that what a failed removal leaves is finished the same way by the next
// run, then the rest, and flushes the target folder so that the removal
// lasts.
std::optional<SetFailure> RemoveStagingFolder(const fs::path& target, const fs::path& staging) {
  std::error_code error;
  const fs::path previous = staging / kPreviousFolderName;
  if ((error = platform::RemoveTree(previous))) return SetFailure{previous, error};
  const fs::path journal = staging / kJournalName;
  if (IsPresent(journal)) {
    if ((error = platform::DeleteFile(journal))) return SetFailure{journal, error};
  }
  if ((error = platform::RemoveTree(staging))) return SetFailure{staging, error};
  if ((error = platform::SyncFolder(target))) return SetFailure{target, error};
  return std::nullopt;
}

// "<name>.tmp-" and six letters or digits, as a replace through a temporary
// file names it, for the set's files and Program_Config.cfg.
bool IsLeftoverTemporary(std::string_view name) {
  constexpr std::string_view kMark = ".tmp-";
  constexpr std::size_t kUniqueLength = 6;
  if (name.size() < kMark.size() + kUniqueLength) return false;
  const std::size_t mark = name.size() - kUniqueLength - kMark.size();
  if (name.substr(mark, kMark.size()) != kMark) return false;
  const std::string_view unique = name.substr(name.size() - kUniqueLength);
  const auto letter_or_digit = [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  };
  if (!std::all_of(unique.begin(), unique.end(), letter_or_digit)) return false;
  const std::string_view base = name.substr(0, mark);
  return IsSettingsName(base) ||
         std::any_of(kOutputFileSet.begin(), kOutputFileSet.end(), [base](std::string_view output) {
           return platform::EqualsIgnoreCase(base, output);
         });
}

void RemoveLeftoverTemporaries(const fs::path& folder) {
  std::vector<fs::path> leftovers;
  for (const fs::path& entry : EntriesOf(folder)) {
    std::error_code status_error;
    if (fs::is_regular_file(fs::symlink_status(entry, status_error)) &&
        IsLeftoverTemporary(platform::Utf8Of(entry.filename()))) {
      leftovers.push_back(entry);
    }
  }
  // Best effort: a leftover that stays is tried again by the next run or start.
  for (const fs::path& leftover : leftovers) static_cast<void>(platform::DeleteFile(leftover));
}

}  // namespace

bool IsOutputName(std::string_view name) {
  return std::find(kOutputFileSet.begin(), kOutputFileSet.end(), name) != kOutputFileSet.end();
}

std::string SetFailure::Describe() const {
  return platform::Utf8Of(path) + " (" + error.message() + ")";
}

std::optional<StagedDatabaseSet> StagedDatabaseSet::Create(const fs::path& target_folder,
                                                           SetFailure& failure) {
  if (std::optional<SetFailure> recovery = RecoverDatabaseSet(target_folder)) {
    failure = *recovery;
    return std::nullopt;
  }
  const fs::path staging = target_folder / kStagingFolderName;
  if (const std::error_code error = platform::CreateFolder(staging)) {
    failure = {staging, error};
    return std::nullopt;
  }
  return StagedDatabaseSet(target_folder, staging);
}

StagedDatabaseSet::StagedDatabaseSet(StagedDatabaseSet&& other) noexcept
    : target_(std::move(other.target_)),
      staging_(std::exchange(other.staging_, {})),
      settings_name_(std::move(other.settings_name_)),
      kept_old_(std::move(other.kept_old_)),
      placed_(std::move(other.placed_)),
      decided_(other.decided_),
      state_(other.state_) {}

StagedDatabaseSet::~StagedDatabaseSet() {
  // Old files still aside, or a decided swap, are the next run's to finish.
  if (!staging_.empty() && state_ == SetState::Old) RemoveStagingFolder(target_, staging_);
}

std::optional<SetFailure> StagedDatabaseSet::StageSettings(std::string_view bytes) {
  const std::vector<fs::path> existing = EntriesNamed(target_, kProgramConfigName);
  const fs::path name =
      existing.empty() ? fs::path(kProgramConfigName) : existing.front().filename();
  const fs::path staged = staging_ / name;
  std::error_code error;
  std::optional<platform::OutputFile> file = platform::OutputFile::Create(staged, error);
  if (file) error = file->Write(bytes);
  if (file && !error) error = file->Finish();
  if (error) {
    // The staging folder goes with the failed run, and this file with it.
    static_cast<void>(platform::DeleteFile(staged));
    return SetFailure{staged, error};
  }
  // The new settings file keeps the permissions of the one it replaces.
  std::error_code ignored;
  if (!existing.empty())
    fs::permissions(staged, fs::status(existing.front(), ignored).permissions(), ignored);
  settings_name_ = platform::Utf8Of(name);
  NoteSetStep("wrote " + settings_name_);
  return std::nullopt;
}

void StagedDatabaseSet::KeepOldFile(std::string_view name) { kept_old_.emplace_back(name); }

std::optional<SetFailure> StagedDatabaseSet::Commit() {
  if (std::optional<fs::path> blocked = BlockedOutputEntry(target_)) {
    return SetFailure{*blocked, std::make_error_code(std::errc::is_a_directory)};
  }
  const Journal journal = JournalFor(staging_, kept_old_, settings_name_);
  if (std::optional<SetFailure> failure = MakePreviousFolder(staging_)) return failure;
  std::vector<fs::path> aside;
  if (std::optional<SetFailure> failure = MoveOldFilesAside(target_, staging_, journal, aside)) {
    return Undo(*failure, aside);
  }
  const fs::path journal_file = staging_ / kJournalName;
  std::error_code error = platform::ReplaceFileContents(journal_file, JournalText(journal));
  // A journal that is there but may not have reached the disk is taken back
  // when it can be; one that stays decides the swap all the same.
  if (error && DropJournal()) return Undo({journal_file, error}, aside);
  decided_ = true;
  NoteSetStep("decided");
  if (std::optional<SetFailure> failure = FinishSwap(target_, staging_, journal, placed_)) {
    return Undo(*failure, aside);
  }
  if ((error = platform::SyncFolder(target_))) {
    state_ = SetState::FinishedByNextRun;
    return SetFailure{target_, error};
  }
  state_ = SetState::New;
  std::optional<SetFailure> cleaning = RemoveStagingFolder(target_, staging_);
  if (!cleaning) NoteSetStep("cleaned");
  return cleaning;
}

bool StagedDatabaseSet::DropJournal() const {
  const fs::path journal = staging_ / kJournalName;
  // Whether the journal is gone is what counts, whatever deleting said.
  static_cast<void>(platform::DeleteFile(journal));
  return !IsPresent(journal);
}

// Undoes a replacement that failed: the new files go back into the staging
// folder, the journal goes, and the old files take their names again. What
// cannot be undone is left for the next run, which finishes a swap whose
// journal stands and puts back the old files of one whose journal is gone.
SetFailure StagedDatabaseSet::Undo(SetFailure failure, const std::vector<fs::path>& aside) {
  while (!placed_.empty()) {
    const std::string& name = placed_.back();
    if (platform::RenameEntry(target_ / name, staging_ / name)) {
      state_ = SetState::FinishedByNextRun;
      return failure;
    }
    placed_.pop_back();
  }
  if (decided_ && !DropJournal()) {
    state_ = SetState::FinishedByNextRun;
    return failure;
  }
  decided_ = false;
  state_ = PutBack(target_, aside) ? SetState::RestoredByNextRun : SetState::Old;
  return failure;
}

std::optional<SetFailure> RecoverDatabaseSet(const fs::path& target_folder) {
  const fs::path staging = target_folder / kStagingFolderName;
  if (IsPresent(staging) && !IsRealFolder(staging)) {
    return SetFailure{staging, std::make_error_code(std::errc::not_a_directory)};
  }
  if (IsRealFolder(staging)) {
    const fs::path journal = staging / kJournalName;
    std::error_code error;
    std::optional<SetFailure> failure;
    if (fs::is_regular_file(fs::symlink_status(journal, error))) {
      std::vector<std::string> placed;
      failure = FinishSwap(target_folder, staging, ReadJournal(journal), placed);
    } else {
      failure = PutBack(target_folder, EntriesOf(staging / kPreviousFolderName));
    }
    if (!failure) failure = RemoveStagingFolder(target_folder, staging);
    if (failure) return failure;
  }
  RemoveLeftoverTemporaries(target_folder);
  return std::nullopt;
}

PendingReplacement PendingReplacementIn(const fs::path& target_folder) {
  const fs::path staging = target_folder / kStagingFolderName;
  if (!IsRealFolder(staging)) return PendingReplacement::None;
  std::error_code error;
  if (fs::is_regular_file(fs::symlink_status(staging / kJournalName, error))) {
    return PendingReplacement::Finish;
  }
  if (!EntriesOf(staging / kPreviousFolderName).empty()) return PendingReplacement::PutBack;
  return PendingReplacement::Leftover;
}

std::optional<fs::path> BlockedOutputEntry(const fs::path& target_folder) {
  for (std::string_view name : kOutputFileSet) {
    for (const fs::path& entry : EntriesNamed(target_folder, name)) {
      if (IsRealFolder(entry)) return entry;
    }
  }
  return std::nullopt;
}

std::string StagingEntryProblem(const fs::path& target_folder) {
  const fs::path staging = target_folder / kStagingFolderName;
  std::error_code error;
  const fs::file_status status = fs::symlink_status(staging, error);
  if (!fs::exists(status) || fs::is_directory(status)) return {};
  const std::string_view what = fs::is_symlink(status)        ? "a symbolic link"
                                : fs::is_regular_file(status) ? "a file"
                                                              : "a special file";
  return platform::Utf8Of(staging) + " is " + std::string(what) +
         ", where Tarnvale keeps the new database files until they are complete. Tarnvale "
         "neither follows nor removes it: remove or rename it, then create the files again.";
}

bool HoldsDatabaseRecords(const fs::path& target_folder) {
  for (const OutputFileType& file : kOutputFiles) {
    if (!HoldsRecords(file)) continue;
    for (const fs::path& entry : EntriesNamed(target_folder, file.name)) {
      std::error_code error;
      if (fs::is_regular_file(entry, error) && fs::file_size(entry, error) > 0 && !error) {
        return true;
      }
    }
  }
  return false;
}

void ObserveSetSteps(SetStepObserver observer) { step_observer = observer; }

void NoteSetStep(std::string_view step) {
  if (const SetStepObserver observer = step_observer.load()) {
    const std::scoped_lock lock(step_mutex);
    observer(step);
  }
}

}  // namespace tarnvale
