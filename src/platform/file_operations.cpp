#include "platform/file_operations.h"

namespace tarnvale::platform {

// Interface first; the bodies follow.
std::error_code ReplaceFileContents(const std::filesystem::path&, std::string_view) {
  return std::make_error_code(std::errc::function_not_supported);
}
std::error_code CopyFileOver(const std::filesystem::path&, const std::filesystem::path&) {
  return std::make_error_code(std::errc::function_not_supported);
}
std::error_code DeleteFile(const std::filesystem::path&) {
  return std::make_error_code(std::errc::function_not_supported);
}

}  // namespace tarnvale::platform
