#include "config/cfg_line_rules.h"

namespace tarnvale {

// Interface first; the bodies follow.
std::string ReadLine(std::string_view text, std::size_t& position) {
  position = text.size();
  return {};
}
bool StartsWithKey(std::string_view, std::string_view) { return false; }
std::string GetKeyValue(std::string_view, std::string_view) { return {}; }
void StripOuterSlash(std::string&) {}
void StripFolderSlashes(std::string&) {}
std::filesystem::path ResolveSceneryFolder(std::string_view, const std::filesystem::path&) { return {}; }
std::int32_t ParseDecimal(std::string_view) { return 0; }
std::uint32_t ParseUnsignedDecimal(std::string_view) { return 0; }
std::uint8_t ParseFlag(std::string_view, std::uint8_t current) { return current; }

}  // namespace tarnvale
