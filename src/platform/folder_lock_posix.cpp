// The folder lock on POSIX systems: flock on the folder itself, held while the descriptor is open.

#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/fault_injection.h"

namespace tarnvale::platform {

std::optional<FolderLock> FolderLock::TryAcquire(const std::filesystem::path& folder,
                                                 std::error_code& error) {
  error.clear();
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    error = {errno, std::generic_category()};
    return std::nullopt;
  }
  // Each open of the folder is a holder of its own, so two claims made in
  // one process exclude each other as claims of two processes do.
  if ((error = InjectedFault(FaultSite::LockFolder))) {
    ::close(fd);
    return std::nullopt;
  }
  int result;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    error = errno == EWOULDBLOCK ? std::make_error_code(std::errc::resource_unavailable_try_again)
                                 : std::error_code(errno, std::generic_category());
    ::close(fd);
    return std::nullopt;
  }
  return FolderLock(fd, folder);
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), folder_(std::move(other.folder_)) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
  if (this != &other) {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
    handle_ = std::exchange(other.handle_, -1);
    folder_ = std::move(other.folder_);
  }
  return *this;
}

FolderLock::~FolderLock() {
  // Closing the last descriptor drops the lock.
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

}  // namespace tarnvale::platform
