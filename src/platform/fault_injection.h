// Failures of the operating system on demand, for tests, and a record of
// what the platform's routines change on disk.
//
// The platform's own routines ask InjectedFault at the places where the
// system can fail in ways a test cannot bring about with real files (a lock
// table that is full, a disk that fails a flush, a process out of file
// handles, memory run out). They also tell a FileChangeRecorder, when a
// test installs one, of every file and folder they make, write, flush,
// rename or remove, so that the test can work out what a power cut would
// have left. Nothing is armed or recorded in a normal run, and then each
// such call costs one relaxed atomic load.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <new>
#include <string_view>
#include <system_error>

namespace tarnvale::platform {

// The places where a fault can be injected.
enum class FaultSite : std::uint8_t {
  LockFolder,          // taking a folder's lock (FolderLock::TryAcquire)
  OpenInput,           // opening a file for reading (InputFile::Open)
  FlushFile,           // flushing a written file to disk (OutputFile::Flush)
  SyncFolder,          // flushing a folder's entries to disk (SyncFolder)
  Rename,              // giving an entry another name (RenameEntry)
  DatabaseAllocation,  // memory for the navigation database (NavDatabase's appends)
  ConfigAllocation,    // memory for what the configuration reader reads (areas, titles)
};
inline constexpr std::size_t kFaultSiteCount = 7;

// From now on the calls at `site`, after the first `skip` of them, fail with
// `error`: `times` calls, or every one when `times` is 0. Replaces what was
// armed at `site` before.
void InjectFault(FaultSite site, std::error_code error, unsigned skip = 0, unsigned times = 1);

// Disarms every site.
void ClearFaults();

// True while `site` has failures still to give: a test that armed it for
// the Nth call learns whether the code it ran made that many.
bool Armed(FaultSite site);

namespace detail {
extern std::atomic<bool> any_fault_armed;
std::error_code ArmedFault(FaultSite site);
}  // namespace detail

// For the platform's routines: the error injected into this call at `site`,
// or none. Safe to call from any thread.
inline std::error_code InjectedFault(FaultSite site) {
  if (!detail::any_fault_armed.load(std::memory_order_relaxed)) return {};
  return detail::ArmedFault(site);
}

// For the routines that allocate: throws std::bad_alloc when a fault is
// injected into this allocation at `site`, as if memory had run out.
inline void CountAllocation(FaultSite site) {
  if (detail::any_fault_armed.load(std::memory_order_relaxed) && detail::ArmedFault(site)) {
    throw std::bad_alloc();
  }
}

// Arms faults for the lifetime of a test's scope and disarms every site at
// its end.
class FaultScope {
 public:
  FaultScope() = default;
  FaultScope(const FaultScope&) = delete;
  FaultScope& operator=(const FaultScope&) = delete;
  ~FaultScope() { ClearFaults(); }
  void Inject(FaultSite site, std::error_code error, unsigned skip = 0, unsigned times = 1) {
    InjectFault(site, error, skip, times);
  }
  // Lets `allowed` more allocations at `site` succeed and fails every later
  // one.
  void LimitAllocations(FaultSite site, unsigned allowed) {
    Inject(site, std::make_error_code(std::errc::not_enough_memory), allowed, 0);
  }
};

// What a platform routine changed on disk.
enum class FileChange : std::uint8_t {
  CreateFile,    // a new file, or one emptied, opened for writing: `path`, `handle`
  Write,         // bytes appended to an open file: `handle`, `bytes`
  FlushFile,     // an open file's bytes flushed to disk: `handle`
  Rename,        // the entry `path` now named `to`, replacing a file of that name
  DeleteFile,    // the file `path` gone
  CreateFolder,  // the new, empty folder `path`
  RemoveTree,    // `path` gone with everything below it
  SyncFolder,    // the entries of the folder `path` flushed to disk
};

struct FileChangeEvent {
  FileChange change;
  std::filesystem::path path{};
  std::filesystem::path to{};
  std::intptr_t handle = -1;  // a descriptor, or a Windows HANDLE
  std::string_view bytes{};
};

// Hears every change the platform's routines make, once made, from any
// thread.
class FileChangeRecorder {
 public:
  virtual ~FileChangeRecorder() = default;
  virtual void Note(const FileChangeEvent& event) = 0;
};

// From now on `recorder` hears every change; nullptr: none.
void RecordFileChanges(FileChangeRecorder* recorder);

namespace detail {
extern std::atomic<FileChangeRecorder*> file_change_recorder;
}  // namespace detail

// For the platform's routines: true while a recorder listens. Build the
// event for NoteFileChange only then.
inline bool RecordingFileChanges() {
  return detail::file_change_recorder.load(std::memory_order_relaxed) != nullptr;
}
void NoteFileChange(const FileChangeEvent& event);

}  // namespace tarnvale::platform
