// Huge sparse files and the peak resident memory of the test process, for
// tests that bound what reading a file may cost whatever its size.
#pragma once

#ifdef _WIN32
#include "platform/windows_system.h"

#include <winioctl.h>  // after <windows.h>, which it needs
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>

namespace tarnvale::testing {

inline constexpr std::uint64_t kFourGiB = std::uint64_t{1} << 32;
inline constexpr std::size_t kMiB = 1024 * 1024;

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif

struct FilePiece {
  std::uint64_t offset = 0;
  std::span<const std::uint8_t> bytes;
};

// Writes a file of `size` bytes, zero except for `pieces`, without storing
// the zeros. Returns why not when the file system cannot hold it sparse.
#ifdef _WIN32
inline std::optional<std::string> WriteSparseFile(const std::filesystem::path& path,
                                                  std::uint64_t size,
                                                  std::initializer_list<FilePiece> pieces) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "cannot create " + path.string();
  DWORD returned = 0;
  bool written =
      ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr) != 0;
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  written = written && ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
  for (const FilePiece& piece : pieces) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(piece.offset);
    at.OffsetHigh = static_cast<DWORD>(piece.offset >> 32);
    DWORD wrote = 0;
    written = written &&
              ::WriteFile(file, piece.bytes.data(), static_cast<DWORD>(piece.bytes.size()), &wrote,
                          &at) &&
              wrote == piece.bytes.size();
  }
  FILE_STANDARD_INFO info{};
  const bool sparse = ::GetFileInformationByHandleEx(file, FileStandardInfo, &info, sizeof info) &&
                      static_cast<std::uint64_t>(info.AllocationSize.QuadPart) < 64 * kMiB;
  ::CloseHandle(file);
  if (written && sparse) return std::nullopt;
  std::filesystem::remove(path);
  return "the file system cannot hold a sparse file of " + std::to_string(size) + " bytes";
}
#else
inline std::optional<std::string> WriteSparseFile(const std::filesystem::path& path,
                                                  std::uint64_t size,
                                                  std::initializer_list<FilePiece> pieces) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return "cannot create " + path.string();
  bool written = ::ftruncate(fd, static_cast<off_t>(size)) == 0;
  for (const FilePiece& piece : pieces) {
    written = written && ::pwrite(fd, piece.bytes.data(), piece.bytes.size(),
                                  static_cast<off_t>(piece.offset)) ==
                             static_cast<ssize_t>(piece.bytes.size());
  }
  struct stat status {};
  const bool sparse =
      ::fstat(fd, &status) == 0 && static_cast<std::uint64_t>(status.st_blocks) * 512 < 64 * kMiB;
  ::close(fd);
  if (written && sparse) return std::nullopt;
  std::filesystem::remove(path);
  return "the file system cannot hold a sparse file of " + std::to_string(size) + " bytes";
}
#endif

// Peak resident memory of this process from now on, read from /proc.
class PeakMemory {
 public:
  // Resets the peak to the memory resident now; nothing where Linux does
  // not let it be reset.
  static std::optional<PeakMemory> Reset() {
    std::ofstream clear("/proc/self/clear_refs");
    if (!(clear << "5" << std::flush)) return std::nullopt;
    const std::optional<std::size_t> start = HighWaterMark();
    if (!start) return std::nullopt;
    return PeakMemory(*start);
  }

  // How far the peak rose above the memory resident at Reset.
  std::size_t Rise() const {
    const std::size_t peak = HighWaterMark().value_or(start_);
    return peak > start_ ? peak - start_ : 0;
  }

 private:
  explicit PeakMemory(std::size_t start) : start_(start) {}

  static std::optional<std::size_t> HighWaterMark() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("VmHWM:", 0) == 0) return std::stoull(line.substr(6)) * 1024;  // kB
    }
    return std::nullopt;
  }

  std::size_t start_;
};

}  // namespace tarnvale::testing
