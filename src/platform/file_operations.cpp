// The parts of the whole-file operations that the standard library does the
// same way on every system; the rest is in file_operations_<system>.cpp.
#include "platform/file_operations.h"

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

}  // namespace tarnvale::platform
