// An exclusive claim on a folder, shared by every process of this machine.
//
// Two runs that write the database set of one folder at the same time would
// mix their files, so a run holds the folder's lock while it works. The lock
// is taken on the folder itself and leaves nothing behind in it; the system
// drops it when the holder ends, however it ends.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

namespace tarnvale::platform {

class FolderLock {
 public:
  // The lock on `folder`, or std::nullopt with `error` set: resource busy
  // (std::errc::resource_unavailable_try_again) while another holder has
  // it, or why the folder could not be opened. Never waits.
  [[nodiscard]] static std::optional<FolderLock> TryAcquire(const std::filesystem::path& folder,
                                                            std::error_code& error);

  FolderLock(FolderLock&& other) noexcept;
  FolderLock& operator=(FolderLock&& other) noexcept;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();

  const std::filesystem::path& Folder() const { return folder_; }

 private:
  FolderLock(std::intptr_t handle, std::filesystem::path folder)
      : handle_(handle), folder_(std::move(folder)) {}
  std::intptr_t handle_ = -1;  // a descriptor, or a Windows HANDLE
  std::filesystem::path folder_;
};

}  // namespace tarnvale::platform
