#include "output/database_set.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/ascii_text.h"
#include "platform/directory_search.h"
#include "platform/file_operations.h"
#include "platform/paths.h"

namespace tarnvale {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kJournalName = "journal";
constexpr std::string_view kProgramConfigName = "Program_Config.cfg";

std::atomic<SetStepObserver> step_observer{nullptr};
// Files are written on several threads: the observer hears one step at a time.
std::mutex step_mutex;

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
  std::sort(entries.begin(), entries.end(), [](const fs::path& a, const fs::path& b) {
    return platform::NameOrderLess(platform::Utf8Of(a.filename()), platform::Utf8Of(b.filename()));
  });
  return entries;
}

bool IsRealFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(fs::symlink_status(path, error));
}

bool IsPresent(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

// The output names whose files the staging folder holds.
std::vector<std::string_view> StagedNames(const fs::path& staging) {
  std::vector<std::string_view> names;
  for (std::string_view name : kOutputFileSet) {
    std::error_code error;
    if (fs::is_regular_file(fs::symlink_status(staging / name, error))) names.push_back(name);
  }
  return names;
}

std::string JournalText(const std::vector<std::string_view>& names) {
  std::string text;
  for (std::string_view name : names) (text += name) += '\n';
  return text;
}

// The names a journal lists; foreign lines are ignored.
std::vector<std::string_view> ReadJournal(const fs::path& journal) {
  std::vector<std::string_view> names;
  std::ifstream in(journal);
  for (std::string line; std::getline(in, line);) {
    const auto known = std::find(kOutputFileSet.begin(), kOutputFileSet.end(), line);
    if (known != kOutputFileSet.end()) names.push_back(*known);
  }
  return names;
}

void Keep(std::optional<SetFailure>& first, const fs::path& path, std::error_code error) {
  if (error && !first) first = SetFailure{path, error};
}

// Gives each output name its new file, or none when the new set has none.
// Every step can be taken again: a swap cut short is finished by running it
// once more with the same journal.
std::optional<SetFailure> FinishSwap(const fs::path& target, const fs::path& staging,
                                     const std::vector<std::string_view>& new_names) {
  std::optional<SetFailure> failure;
  for (std::string_view name : kOutputFileSet) {
    const bool in_new_set = std::find(new_names.begin(), new_names.end(), name) != new_names.end();
#ifdef _WIN32
    // Names that differ only in letter case are one name on Windows: the
    // file of the old set goes first, so that the new file takes the name
    // as written instead of replacing the old file under its old name.
    if (in_new_set && IsPresent(staging / name)) {
      for (const fs::path& old : EntriesNamed(target, name)) {
        if (old.filename() == name) continue;
        Keep(failure, old, platform::DeleteFile(old));
        NoteSetStep("removed " + platform::Utf8Of(old.filename()));
      }
    }
#endif
    if (in_new_set && IsPresent(staging / name)) {
      std::error_code error;
      fs::rename(staging / name, target / name, error);
      Keep(failure, target / name, error);
      if (!error) NoteSetStep("placed " + std::string(name));
    }
    for (const fs::path& old : EntriesNamed(target, name)) {
      if (in_new_set && old.filename() == name) continue;
      Keep(failure, old, platform::DeleteFile(old));
      NoteSetStep("removed " + platform::Utf8Of(old.filename()));
    }
  }
  Keep(failure, target, platform::SyncFolder(target));
  return failure;
}

void RemoveStagingFolder(const fs::path& target, const fs::path& staging) {
  std::error_code ignored;
  fs::remove_all(staging, ignored);
  platform::SyncFolder(target);
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
  return platform::EqualsIgnoreCase(base, kProgramConfigName) ||
         std::any_of(kOutputFileSet.begin(), kOutputFileSet.end(), [base](std::string_view output) {
           return platform::EqualsIgnoreCase(base, output);
         });
}

void RemoveLeftoverTemporaries(const fs::path& folder) {
  std::vector<fs::path> leftovers;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code status_error;
    if (fs::is_regular_file(it->symlink_status(status_error)) &&
        IsLeftoverTemporary(platform::Utf8Of(it->path().filename()))) {
      leftovers.push_back(it->path());
    }
  }
  for (const fs::path& leftover : leftovers) platform::DeleteFile(leftover);
}

}  // namespace

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
  std::error_code error;
  if (!fs::create_directory(staging, error)) {
    failure = {staging, error ? error : std::make_error_code(std::errc::file_exists)};
    return std::nullopt;
  }
  return StagedDatabaseSet(target_folder, staging);
}

StagedDatabaseSet::StagedDatabaseSet(StagedDatabaseSet&& other) noexcept
    : target_(std::move(other.target_)),
      staging_(std::move(other.staging_)),
      decided_(std::exchange(other.decided_, true)) {}

StagedDatabaseSet::~StagedDatabaseSet() {
  if (!decided_) RemoveStagingFolder(target_, staging_);
}

std::optional<SetFailure> StagedDatabaseSet::Commit() {
  if (std::optional<fs::path> blocked = BlockedOutputEntry(target_)) {
    return SetFailure{*blocked, std::make_error_code(std::errc::is_a_directory)};
  }
  const std::vector<std::string_view> names = StagedNames(staging_);
  if (std::error_code error = platform::SyncFolder(staging_)) return SetFailure{staging_, error};
  const fs::path journal = staging_ / kJournalName;
  if (std::error_code error = platform::ReplaceFileContents(journal, JournalText(names))) {
    return SetFailure{journal, error};
  }
  decided_ = true;
  NoteSetStep("decided");
  if (std::optional<SetFailure> failure = FinishSwap(target_, staging_, names)) return failure;
  RemoveStagingFolder(target_, staging_);
  NoteSetStep("cleaned");
  return std::nullopt;
}

std::optional<SetFailure> RecoverDatabaseSet(const fs::path& target_folder) {
  const fs::path staging = target_folder / kStagingFolderName;
  if (IsRealFolder(staging)) {
    std::error_code error;
    const fs::path journal = staging / kJournalName;
    if (fs::is_regular_file(fs::symlink_status(journal, error))) {
      std::optional<SetFailure> failure = FinishSwap(target_folder, staging, ReadJournal(journal));
      if (failure) return failure;
    }
    RemoveStagingFolder(target_folder, staging);
  }
  RemoveLeftoverTemporaries(target_folder);
  return std::nullopt;
}

std::optional<fs::path> BlockedOutputEntry(const fs::path& target_folder) {
  for (std::string_view name : kOutputFileSet) {
    for (const fs::path& entry : EntriesNamed(target_folder, name)) {
      if (IsRealFolder(entry)) return entry;
    }
  }
  return std::nullopt;
}

void ObserveSetSteps(SetStepObserver observer) { step_observer = observer; }

void NoteSetStep(std::string_view step) {
  if (const SetStepObserver observer = step_observer.load()) {
    const std::scoped_lock lock(step_mutex);
    observer(step);
  }
}

}  // namespace tarnvale
