// The Windows registry: where installers record the folders of the programs
// they installed, and where a Windows program keeps small choices of its
// user. Other systems have none: nothing is found there and nothing kept.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnvale::platform {

// The text `value` of the key `key` (a path below the root key, with
// backslashes) for every program of this machine: from HKEY_LOCAL_MACHINE
// in its 32-bit and 64-bit views, then from HKEY_CURRENT_USER; each text
// once, in UTF-8.
std::vector<std::string> MachineRegistryTexts(std::string_view key, std::string_view value);

// The user's own text `value` of HKEY_CURRENT_USER\`key`, in UTF-8;
// std::nullopt when there is none.
std::optional<std::string> ReadUserRegistryText(std::string_view key, std::string_view value);

// Writes it (the key is created when missing); false when it could not be.
[[nodiscard]] bool WriteUserRegistryText(std::string_view key, std::string_view value,
                                         std::string_view text);

}  // namespace tarnvale::platform
