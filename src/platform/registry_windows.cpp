// Registry texts on Windows: an installer's entries looked up in the machine's 32-bit and 64-bit
// views and the user's key, and the user's own values read and written.

#include "platform/registry.h"

#include <algorithm>
#include <cwchar>

#include "platform/windows_system.h"

namespace tarnvale::platform {
namespace {

// A string value (REG_SZ or REG_EXPAND_SZ, not expanded) of `root`\`key`,
// `view` choosing the 32-bit or 64-bit registry.
std::optional<std::string> ReadText(HKEY root, std::string_view key, std::string_view value,
                                    REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, WideFromUtf8(key).c_str(), 0, KEY_QUERY_VALUE | view, &opened) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::wstring name = WideFromUtf8(value);
  DWORD kind = 0;
  DWORD bytes = 0;
  std::optional<std::string> text;
  if (RegQueryValueExW(opened, name.c_str(), nullptr, &kind, nullptr, &bytes) == ERROR_SUCCESS &&
      (kind == REG_SZ || kind == REG_EXPAND_SZ)) {
    std::wstring wide(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(opened, name.c_str(), nullptr, &kind, reinterpret_cast<BYTE*>(wide.data()),
                         &bytes) == ERROR_SUCCESS) {
      wide.resize(wcsnlen(wide.c_str(), wide.size()));
      text = Utf8FromWide(wide);
    }
  }
  RegCloseKey(opened);
  return text;
}

}  // namespace

std::vector<std::string> MachineRegistryTexts(std::string_view key, std::string_view value) {
  std::vector<std::string> texts;
  const std::pair<HKEY, REGSAM> places[] = {{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY},
                                            {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY},
                                            {HKEY_CURRENT_USER, 0}};
  for (const auto& [root, view] : places) {
    const std::optional<std::string> text = ReadText(root, key, value, view);
    if (text && !text->empty() && std::find(texts.begin(), texts.end(), *text) == texts.end()) {
      texts.push_back(*text);
    }
  }
  return texts;
}

std::optional<std::string> ReadUserRegistryText(std::string_view key, std::string_view value) {
  return ReadText(HKEY_CURRENT_USER, key, value, 0);
}

bool WriteUserRegistryText(std::string_view key, std::string_view value, std::string_view text) {
  const std::wstring wide_text = WideFromUtf8(text);
  const LSTATUS status = RegSetKeyValueW(
      HKEY_CURRENT_USER, WideFromUtf8(key).c_str(), WideFromUtf8(value).c_str(), REG_SZ,
      wide_text.c_str(), static_cast<DWORD>((wide_text.size() + 1) * sizeof(wchar_t)));
  return status == ERROR_SUCCESS;
}

}  // namespace tarnvale::platform
