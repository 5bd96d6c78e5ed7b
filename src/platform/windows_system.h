// What the Windows implementations of the platform headers share: the
// Windows API itself, and its error codes as std::error_code.
//
// Only *_windows.cpp files (and Windows-only tests) include this header.
#pragma once

#ifndef _WIN32
#error "windows_system.h is for the Windows build only"
#endif

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// <windows.h> names DeleteFileW DeleteFile, which would rename
// platform::DeleteFile wherever both are seen.
#undef DeleteFile

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tarnvale::platform {

// A Windows error code as std::error_code: the codes a file operation meets
// every day (no such file, access denied, in use, disk full...) become their
// portable std::errc, so that callers compare them as on Linux and print the
// same messages; any other keeps its Windows code and Windows message.
std::error_code WindowsError(unsigned long code);
// WindowsError(GetLastError()).
std::error_code LastWindowsError();

// UTF-16 text of the Windows API as UTF-8, and back. Unpaired surrogates
// and invalid UTF-8 become U+FFFD; neither throws.
std::string Utf8FromWide(std::wstring_view wide);
std::wstring WideFromUtf8(std::string_view utf8);

// The name of the last component of `path` as the file system stores it
// (letter case, long form of a short name), or std::nullopt when there is
// no such entry.
std::optional<std::filesystem::path> StoredName(const std::filesystem::path& path);

// The program's arguments, its own name first, in UTF-8: from the wide
// command line, as the C library's argv holds them in the ANSI code page
// with every character outside it lost.
std::vector<std::string> CommandLineArguments();

// While one exists, text written to the console is taken as UTF-8; the
// console's own output code page comes back when it ends, as the console
// outlives the program.
class Utf8ConsoleOutput {
 public:
  Utf8ConsoleOutput();
  ~Utf8ConsoleOutput();
  Utf8ConsoleOutput(const Utf8ConsoleOutput&) = delete;
  Utf8ConsoleOutput& operator=(const Utf8ConsoleOutput&) = delete;

 private:
  UINT previous_;
};

// True when the console of this process was made for it alone: Explorer
// started it (a double-click), not a Command Prompt or PowerShell window,
// whose console it would share.
bool StartedInOwnConsole();

// What the console control handler of platform::InterruptHandler does with
// `event` (CTRL_C_EVENT...): TRUE when it took the event, FALSE to pass it on
// to the next handler (the default one ends the process). Tests call it
// directly where no console event can be sent.
BOOL WINAPI HandleConsoleControl(DWORD event);

}  // namespace tarnvale::platform
