// The folder lock on Windows: a named semaphore of count one, named after
// the folder's identity on its volume.
//
// Locking the folder's own handle does not serve: Windows has no byte-range
// locks on folders, and a handle opened without sharing would also keep the
// holder itself from listing the folder and from renaming files into it (a
// rename opens the folder it renames into). A semaphore is owned by no
// thread, so a lock may be taken on one thread and dropped on another, and
// two claims of one process exclude each other; the system destroys it, and
// with it the claim, when the last handle to it closes, however its holder
// ends.
#include "platform/folder_lock.h"

#include <cstdio>
#include <utility>

#include "platform/fault_injection.h"
#include "platform/windows_system.h"

namespace tarnvale::platform {
namespace {

HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
const std::intptr_t kNoHandle = -1;

// "Global\Tarnvale-folder-<volume serial>-<file index>": one name for every
// path that leads to the folder (letter case, short names, links, another
// drive letter for the same volume), the same in every session of the
// machine.
std::optional<std::wstring> LockName(const std::filesystem::path& folder, std::error_code& error) {
  const HANDLE handle = ::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = LastWindowsError();
    return std::nullopt;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = ::GetFileInformationByHandle(handle, &info);
  if (!known) error = LastWindowsError();
  ::CloseHandle(handle);
  if (!known) return std::nullopt;
  if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    error = std::make_error_code(std::errc::not_a_directory);
    return std::nullopt;
  }
  wchar_t name[64];
  std::swprintf(name, sizeof name / sizeof name[0], L"Global\\Tarnvale-folder-%08lx-%08lx%08lx",
                info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
  return name;
}

}  // namespace

std::optional<FolderLock> FolderLock::TryAcquire(const std::filesystem::path& folder,
                                                 std::error_code& error) {
  error.clear();
  const std::optional<std::wstring> name = LockName(folder, error);
  if (!name) return std::nullopt;
  if ((error = InjectedFault(FaultSite::LockFolder))) return std::nullopt;
  const HANDLE semaphore = ::CreateSemaphoreW(nullptr, 1, 1, name->c_str());
  if (!semaphore) {
    // Access denied: another user's process made it, and has the folder.
    error = ::GetLastError() == ERROR_ACCESS_DENIED
                ? std::make_error_code(std::errc::resource_unavailable_try_again)
                : LastWindowsError();
    return std::nullopt;
  }
  const DWORD waited = ::WaitForSingleObject(semaphore, 0);
  if (waited != WAIT_OBJECT_0) {
    error = waited == WAIT_TIMEOUT ? std::make_error_code(std::errc::resource_unavailable_try_again)
                                   : LastWindowsError();
    ::CloseHandle(semaphore);
    return std::nullopt;
  }
  return FolderLock(reinterpret_cast<std::intptr_t>(semaphore), folder);
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)), folder_(std::move(other.folder_)) {}

namespace {

void Release(std::intptr_t handle) {
  if (handle == kNoHandle) return;
  // Another process may hold a handle to the semaphore for a moment (it
  // found the folder taken), so the count goes back before the handle closes.
  ::ReleaseSemaphore(Handle(handle), 1, nullptr);
  ::CloseHandle(Handle(handle));
}

}  // namespace

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
  if (this != &other) {
    Release(handle_);
    handle_ = std::exchange(other.handle_, kNoHandle);
    folder_ = std::move(other.folder_);
  }
  return *this;
}

FolderLock::~FolderLock() { Release(handle_); }

}  // namespace tarnvale::platform
