// The parts of the whole-file operations that the standard library does the
// same way on every system; the rest is in file_operations_<system>.cpp.
#include "platform/file_operations.h"

#include "platform/fault_injection.h"

namespace tarnvale::platform {

namespace fs = std::filesystem;

std::error_code DeleteFile(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (!fs::exists(status))
    return error ? error : std::make_error_code(std::errc::no_such_file_or_directory);
  if (fs::is_directory(status)) return std::make_error_code(std::errc::is_a_directory);
  fs::remove(path, error);
  return error;
}

std::error_code CopyFileInto(const InputFile& from, OutputFile& to) {
  constexpr std::size_t kChunk = std::size_t{1} << 16;
  std::string buffer(kChunk, '\0');
  for (std::uint64_t offset = 0;;) {
    bool failed = false;
    const std::size_t count = from.ReadAt(offset, buffer.data(), kChunk, failed);
    if (failed) return std::make_error_code(std::errc::io_error);
    if (count == 0) return {};
    if (std::error_code error = to.Write(std::string_view(buffer.data(), count))) return error;
    offset += count;
  }
}

std::error_code RenameEntry(const fs::path& from, const fs::path& to) {
  if (std::error_code injected = InjectedFault(FaultSite::Rename)) return injected;
  std::error_code error;
  fs::rename(from, to, error);
  return error;
}

}  // namespace tarnvale::platform
