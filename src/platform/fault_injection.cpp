// The table of armed faults: one entry per site, behind one lock that only
// armed tests ever take; and the recorder of file changes.
#include "platform/fault_injection.h"

#include <array>
#include <mutex>

namespace tarnvale::platform {
namespace {

struct ArmedSite {
  std::error_code error;  // empty: the site is not armed
  unsigned skip = 0;      // calls still to let through before failing
  unsigned times = 0;     // failures still to give; 0: every call
};

std::mutex table_mutex;
std::array<ArmedSite, kFaultSiteCount> table;

}  // namespace

namespace detail {

std::atomic<bool> any_fault_armed{false};
std::atomic<FileChangeRecorder*> file_change_recorder{nullptr};

std::error_code ArmedFault(FaultSite site) {
  const std::scoped_lock lock(table_mutex);
  ArmedSite& fault = table[static_cast<std::size_t>(site)];
  if (!fault.error) return {};
  if (fault.skip > 0) {
    --fault.skip;
    return {};
  }
  const std::error_code error = fault.error;
  if (fault.times > 0 && --fault.times == 0) fault.error.clear();
  return error;
}

}  // namespace detail

void InjectFault(FaultSite site, std::error_code error, unsigned skip, unsigned times) {
  const std::scoped_lock lock(table_mutex);
  table[static_cast<std::size_t>(site)] = {error, skip, times};
  detail::any_fault_armed = true;
}

void ClearFaults() {
  const std::scoped_lock lock(table_mutex);
  table.fill({});
  detail::any_fault_armed = false;
}

bool Armed(FaultSite site) {
  const std::scoped_lock lock(table_mutex);
  return static_cast<bool>(table[static_cast<std::size_t>(site)].error);
}

void RecordFileChanges(FileChangeRecorder* recorder) { detail::file_change_recorder = recorder; }

void NoteFileChange(const FileChangeEvent& event) {
  if (FileChangeRecorder* recorder = detail::file_change_recorder.load()) recorder->Note(event);
}

}  // namespace tarnvale::platform
