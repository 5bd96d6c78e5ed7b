// Whole-file replacement and folder flushing with POSIX calls: a temporary
// file made by mkstemp, written and flushed as an OutputFile, renamed over
// its target by RenameEntry.
#include "platform/file_operations.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>

#include "platform/fault_injection.h"
#include "platform/system_file.h"

namespace tarnvale::platform {
namespace {

namespace fs = std::filesystem;

constexpr mode_t kNewFileMode = 0644;

std::error_code LastError() { return {errno, std::generic_category()}; }

// The permission bits `target` has now, or `fallback` when it has none.
mode_t PermissionsOf(const fs::path& target, mode_t fallback) {
  struct stat info {};
  return ::stat(target.c_str(), &info) == 0 ? (info.st_mode & 07777) : fallback;
}

// Fills a temporary file beside `target` through `fill`, flushes it to disk
// and renames it over `target`. On any failure the temporary file is removed
// and `target` is left untouched.
std::error_code ReplaceThroughTemporary(const fs::path& target,
                                        const std::function<std::error_code(OutputFile&)>& fill) {
  std::string temporary = target.native() + ".tmp-XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return LastError();
  OutputFile file = OutputFile::Adopt(fd, temporary);
  std::error_code error = fill(file);
  if (!error && ::fchmod(fd, PermissionsOf(target, kNewFileMode)) != 0) error = LastError();
  // After a failure the file is closed unflushed when `file` goes.
  if (!error) error = file.Finish();
  if (!error) error = RenameEntry(temporary, target);
  if (error) {
    // What failed is the news; a temporary left behind is cleared at the next start.
    static_cast<void>(DeleteFile(temporary));
    return error;
  }
  // The new name must survive a power cut too; the file itself already would.
  return SyncFolder(target.has_parent_path() ? target.parent_path() : fs::path("."));
}

}  // namespace

std::error_code ReplaceFileContents(const fs::path& target, std::string_view bytes) {
  return ReplaceThroughTemporary(target, [bytes](OutputFile& file) { return file.Write(bytes); });
}

std::error_code SyncFolder(const fs::path& folder) {
  if (std::error_code injected = InjectedFault(FaultSite::SyncFolder)) return injected;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return LastError();
  std::error_code error;
  if (::fsync(fd) != 0) error = LastError();
  ::close(fd);
  if (!error && RecordingFileChanges())
    NoteFileChange({.change = FileChange::SyncFolder, .path = folder});
  return error;
}

}  // namespace tarnvale::platform
