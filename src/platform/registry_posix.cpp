// There is no registry here: nothing is found and nothing can be kept.

#include "platform/registry.h"

namespace tarnvale::platform {

std::vector<std::string> MachineRegistryTexts(std::string_view, std::string_view) { return {}; }

std::optional<std::string> ReadUserRegistryText(std::string_view, std::string_view) {
  return std::nullopt;
}

bool WriteUserRegistryText(std::string_view, std::string_view, std::string_view) { return false; }

}  // namespace tarnvale::platform
