// What every window of the Windows program shares: text through the wide
// API, the program's name and icon, its message boxes, and texts shortened
// in the middle with the whole text as the control's tooltip.
#pragma once

#include "platform/windows_system.h"

#include <string>
#include <string_view>

namespace tarnvale::win {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// The text of a window or control, and of a dialog's control.
std::wstring WindowText(HWND window);
std::wstring ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, std::wstring_view text);

// The program's name: the base name of its executable file.
std::wstring ProgramName();

// Gives `window` the application icon, large and small, drawn for the
// resolution of its display.
void SetApplicationIcon(HWND window);

// The text `head` + `rest` in `control` (a static text or an edit field),
// with as much of `rest` as its width holds, shortened in the middle; while
// shortened, `tooltips` shows the whole text over the control.
void SetElidedText(HWND control, HWND tooltips, std::wstring_view head, std::wstring_view rest);

// A tooltip window for the controls of `dialog`.
HWND CreateTooltips(HWND dialog);

// Text of the program's UTF-8 texts with Windows line ends, for edit fields.
std::wstring WithCrLf(std::string_view utf8);

}  // namespace tarnvale::win
