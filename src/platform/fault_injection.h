// Failures of the operating system on demand, for tests.
//
// The platform's own routines ask InjectedFault at the places where the
// system can fail in ways a test cannot bring about with real files (a lock
// table that is full, a disk that fails a flush, a process out of file
// handles). Nothing is armed in a normal run, and then each such call costs
// one relaxed atomic load.
#pragma once

#include <cstdint>
#include <system_error>

namespace tarnvale::platform {

// The places where a fault can be injected.
enum class FaultSite : std::uint8_t {
  LockFolder,  // taking a folder's lock (FolderLock::TryAcquire)
  OpenInput,   // opening a file for reading (InputFile::Open)
  FlushFile,   // flushing a written file to disk (OutputFile::Flush)
  SyncFolder,  // flushing a folder's entries to disk (SyncFolder)
  Rename,      // giving an entry another name (RenameEntry)
};
inline constexpr std::size_t kFaultSiteCount = 5;

// From now on the calls at `site`, after the first `skip` of them, fail with
// `error`: `times` calls, or every one when `times` is 0. Replaces what was
// armed at `site` before.
void InjectFault(FaultSite site, std::error_code error, unsigned skip = 0, unsigned times = 1);

// Disarms every site.
void ClearFaults();

// True while `site` has failures still to give: a test that armed it for
// the Nth call learns whether the code it ran made that many.
bool Armed(FaultSite site);

// For the platform's routines: the error injected into this call at `site`,
// or none. Safe to call from any thread.
std::error_code InjectedFault(FaultSite site);

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
};

}  // namespace tarnvale::platform
