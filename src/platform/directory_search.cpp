#include "platform/directory_search.h"

namespace tarnvale::platform {

// Interface first; the bodies follow.
bool MatchesPattern(std::string_view name, std::string_view pattern) { return name == pattern; }
bool NameOrderLess(std::string_view a, std::string_view b) { return a < b; }
std::vector<std::filesystem::path> FindFiles(const std::filesystem::path&, std::string_view) { return {}; }
std::filesystem::path FindFile(const std::filesystem::path&, std::string_view) { return {}; }

}  // namespace tarnvale::platform
