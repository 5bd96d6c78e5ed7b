// The about box, shown from "Help" > "About Tarnvale v1.0".
#pragma once

#include "platform/windows_system.h"

namespace tarnvale::win {

// Shows it modally over `owner`; both fields are filled as it opens.
void ShowAboutBox(HWND owner);

}  // namespace tarnvale::win
