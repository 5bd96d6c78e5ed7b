#include "platform/paths.h"

namespace tarnvale::platform {

// Interface first; the bodies follow.
std::filesystem::path ResolvePath(std::string_view text, const std::filesystem::path& base) {
  return base / std::filesystem::path(text);
}
std::filesystem::path MatchLetterCase(const std::filesystem::path& path) { return path; }
std::filesystem::path ExistingFolder(std::string_view text, const std::filesystem::path& base) {
  const std::filesystem::path path = ResolvePath(text, base);
  return IsFolder(path) ? path : std::filesystem::path();
}
std::filesystem::path WineDriveFolder(char, const std::filesystem::path&) { return {}; }
bool HasDriveLetter(std::string_view text) { return text.size() >= 2 && text[1] == ':'; }
bool IsFolder(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::is_directory(path, ignored);
}
bool IsFile(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored);
}

}  // namespace tarnvale::platform
