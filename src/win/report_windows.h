// The program's messages; the one at the end of a run, with the records and
// what the run read beneath it and a Details button; and the whole report
// behind Details: searchable, copied to the clipboard with Copy (or any part
// of it with Ctrl+C), saved with Save As. All of them in the font of the
// program's dialogs, TARNVALE_FONT_SCALE included.
#pragma once

#include <string>
#include <string_view>

#include "app/run_summary.h"
#include "platform/windows_system.h"

namespace tarnvale::win {

// A modal message owned by `owner`: the text, an OK button only, no icon.
void ShowMessageBox(HWND owner, std::wstring_view title, std::wstring_view text);

// Modal over `owner`, titled with the program's name; returns once
// dismissed with OK, Escape or the close box.
void ShowRunEndingMessage(HWND owner, const std::string& text, const RunSummary& summary);

// The report window, modal over `owner`.
void ShowReport(HWND owner, const std::string& report);

}  // namespace tarnvale::win
