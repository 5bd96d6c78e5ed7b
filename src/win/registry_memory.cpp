// The last target program and folder and the code page chosen, read from and written to the
// user's registry key.

#include "win/registry_memory.h"

#include <string>

#include "platform/code_page.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace tarnvale::win {
namespace {

constexpr std::string_view kKey = "Software\\Tarnvale";
constexpr std::string_view kChoice = "TargetProgram";  // "1", "2" or "3"
constexpr std::string_view kFolder = "TargetFolder";
constexpr std::string_view kCodePage = "CodePage";  // "1250", "1251" or "1252"; none: the default

}  // namespace

RememberedTarget RegistryTargetMemory::Load() const {
  const std::string choice = platform::ReadUserRegistryText(kKey, kChoice).value_or("");
  return {TargetChoiceFromNumber(choice.size() == 1 ? choice[0] - '0' : 0),
          platform::PathFromUtf8(platform::ReadUserRegistryText(kKey, kFolder).value_or("")),
          platform::CodePageNamed(platform::ReadUserRegistryText(kKey, kCodePage).value_or(""))};
}

void RegistryTargetMemory::Save(const RememberedTarget& target) {
  // Best effort, as with Qt's settings: what is remembered only fills in the
  // dialogs of the next start, which asks anyway.
  static_cast<void>(platform::WriteUserRegistryText(
      kKey, kChoice, std::to_string(static_cast<int>(target.choice))));
  static_cast<void>(
      platform::WriteUserRegistryText(kKey, kFolder, platform::Utf8Of(target.folder)));
  if (target.code_page) {
    static_cast<void>(platform::WriteUserRegistryText(
        kKey, kCodePage, std::string(platform::CodePageNumber(*target.code_page))));
  }
}

}  // namespace tarnvale::win
