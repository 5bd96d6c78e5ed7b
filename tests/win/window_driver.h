// Drives the program's real windows from a second thread, as a user would:
// it waits for a window to be shown, types into its fields, chooses radio
// buttons, presses buttons and menu entries by the messages a click sends,
// and reads back texts, the progress bar and the messages shown. The
// window's own thread meanwhile waits in the dialog that the code under
// test opened.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows_system.h"

namespace tarnvale::win::testing {

// The active window of this process titled `title` (visible and enabled:
// no modal window stands over it), waited for; nullptr, after a test
// failure, when none is shown in time.
HWND WaitForWindow(std::wstring_view title);

// Waits until `window` is gone (false, after a test failure, when it stays).
bool WaitUntilClosed(HWND window);

// Waits until `done` holds (false, after a test failure, when it never does).
bool WaitFor(bool (*done)(const void*), const void* context);
template <typename Done>
bool WaitUntil(Done done) {
  return WaitFor([](const void* context) { return (*static_cast<const Done*>(context))(); }, &done);
}

struct ShownMessage {
  HWND box = nullptr;
  std::wstring title;
  std::wstring text;
};

// The next message box of this process (a window with the program's name as
// title, an OK button and a text), waited for.
ShownMessage WaitForMessageBox();

void Type(HWND dialog, int field, std::wstring_view text);
// Checks the radio button `radio` and unchecks the others of its group,
// then tells the dialog, as a click does.
void Choose(HWND dialog, int radio);
// Presses button `id` (or chooses the menu entry `id`): posted, so that a
// window it opens does not hold the driver. An enabled button only, as a
// click.
void Press(HWND dialog, int id);

// Selects row `row` of list box `list` and tells the dialog, as a click does.
void Pick(HWND dialog, int list, int row);
// The rows of list box `list`.
std::vector<std::wstring> Rows(HWND dialog, int list);

std::wstring Text(HWND dialog, int id);
bool IsShown(HWND dialog, int id);
bool IsChecked(HWND dialog, int radio);
bool IsEnabled(HWND dialog, int id);
int ProgressPosition(HWND dialog, int bar);

// Saves what the screen shows of `window` (its frame too) as a 24-bit BMP.
bool SaveScreenImage(HWND window, const std::filesystem::path& file);

// Turns off the tooltips of this process's windows: a virtual display's
// pointer rests where the windows open, and a tooltip would stand over
// their pictures.
void SilenceTooltips();

// True when this process can show windows (Wine has a display).
bool HasDisplay();

}  // namespace tarnvale::win::testing
