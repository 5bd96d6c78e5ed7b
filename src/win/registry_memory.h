// The program and folder of the last start and the code page chosen under
// "File", kept for this user in the registry, under
// HKEY_CURRENT_USER\Software\Tarnvale: the Windows place for
// a program's small per-user choices. Each value is written whole by the
// system, there is no file to create or parse, and it follows the user's
// roaming profile.
#pragma once

#include "app/desktop_session.h"

namespace tarnvale::win {

class RegistryTargetMemory final : public TargetMemory {
 public:
  RememberedTarget Load() const override;
  void Save(const RememberedTarget& target) override;
};

}  // namespace tarnvale::win
