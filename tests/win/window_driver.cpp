// Finds the Windows program's windows and message boxes from a second thread, types, chooses and
// presses in them, and saves screen images.

#include "window_driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include "win/resource.h"
#include "win/win_text.h"

namespace tarnvale::win::testing {
namespace {

// Generous: only a broken program gets near it, and then the test fails
// rather than hangs.
constexpr std::chrono::seconds kGiveUpAfter{120};

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND window, LPARAM list) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(window)) {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND FindActive(std::wstring_view title) {
  for (const HWND window : TopLevelWindows()) {
    if (WindowText(window) == title && IsWindowEnabled(window)) return window;
  }
  return nullptr;
}

// The text of a message box: its one static text that says something.
std::wstring MessageText(HWND box) {
  std::wstring text;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM found) {
        wchar_t kind[16] = {};
        GetClassNameW(child, kind, 16);
        if (_wcsicmp(kind, L"Static") == 0 && GetWindowTextLengthW(child) > 0) {
          *reinterpret_cast<std::wstring*>(found) = WindowText(child);
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&text));
  return text;
}

bool IsMessageBox(HWND window) {
  return GetDlgItem(window, IDOK) != nullptr && GetDlgItem(window, IDC_DETAILS) == nullptr &&
         !MessageText(window).empty();
}

}  // namespace

bool WaitFor(bool (*done)(const void*), const void* context) {
  const auto give_up = std::chrono::steady_clock::now() + kGiveUpAfter;
  while (!done(context)) {
    if (std::chrono::steady_clock::now() > give_up) {
      ADD_FAILURE() << "gave up waiting";
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

HWND WaitForWindow(std::wstring_view title) {
  HWND found = nullptr;
  if (!WaitUntil([&] { return (found = FindActive(title)) != nullptr; })) {
    ADD_FAILURE() << "no window titled " << Utf8(title);
  }
  return found;
}

bool WaitUntilClosed(HWND window) {
  return WaitUntil([window] { return !IsWindow(window) || !IsWindowVisible(window); });
}

ShownMessage WaitForMessageBox() {
  ShownMessage shown;
  WaitUntil([&] {
    for (const HWND window : TopLevelWindows()) {
      if (IsWindowEnabled(window) && IsMessageBox(window)) {
        shown = {window, WindowText(window), MessageText(window)};
        return true;
      }
    }
    return false;
  });
  return shown;
}

void Type(HWND dialog, int field, std::wstring_view text) {
  SendDlgItemMessageW(dialog, field, WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(std::wstring(text).c_str()));
}

void Choose(HWND dialog, int radio) {
  const HWND chosen = GetDlgItem(dialog, radio);
  HWND first = chosen;
  while (!(GetWindowLongW(first, GWL_STYLE) & WS_GROUP)) first = GetWindow(first, GW_HWNDPREV);
  for (HWND button = first; button != nullptr; button = GetWindow(button, GW_HWNDNEXT)) {
    if (button != first && (GetWindowLongW(button, GWL_STYLE) & WS_GROUP)) break;
    SendMessageW(button, BM_SETCHECK, button == chosen ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(chosen), TRUE);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(radio, BN_CLICKED), reinterpret_cast<LPARAM>(chosen));
}

void Press(HWND dialog, int id) {
  const HWND button = GetDlgItem(dialog, id);
  if (button != nullptr && !IsWindowEnabled(button)) return;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void Pick(HWND dialog, int list, int row) {
  SendDlgItemMessageW(dialog, list, LB_SETCURSEL, row, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(list, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, list)));
}

std::vector<std::wstring> Rows(HWND dialog, int list) {
  std::vector<std::wstring> rows;
  const auto count = SendDlgItemMessageW(dialog, list, LB_GETCOUNT, 0, 0);
  for (LRESULT row = 0; row < count; ++row) {
    std::wstring text(
        static_cast<std::size_t>(SendDlgItemMessageW(dialog, list, LB_GETTEXTLEN, row, 0)) + 1,
        L'\0');
    text.resize(static_cast<std::size_t>(
        SendDlgItemMessageW(dialog, list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
    rows.push_back(std::move(text));
  }
  return rows;
}

std::wstring Text(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

bool IsShown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }

bool IsChecked(HWND dialog, int radio) { return IsDlgButtonChecked(dialog, radio) == BST_CHECKED; }

bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

int ProgressPosition(HWND dialog, int bar) {
  return static_cast<int>(SendDlgItemMessageW(dialog, bar, PBM_GETPOS, 0, 0));
}

bool SaveScreenImage(HWND window, const std::filesystem::path& file) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  RECT frame{};
  GetWindowRect(window, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
  GdiFlush();
  const DWORD row = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  const DWORD image_bytes = row * static_cast<DWORD>(height);
  constexpr DWORD kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  const BITMAPFILEHEADER header{0x4D42, kHeaders + image_bytes, 0, 0, kHeaders};
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&header), sizeof(header));
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
  out.write(static_cast<const char*>(bits), image_bytes);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return static_cast<bool>(out);
}

void SilenceTooltips() {
  EnumWindows(
      [](HWND window, LPARAM) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t kind[32] = {};
        GetClassNameW(window, kind, 32);
        if (process == GetCurrentProcessId() && _wcsicmp(kind, TOOLTIPS_CLASSW) == 0) {
          SendMessageW(window, TTM_ACTIVATE, FALSE, 0);
        }
        return TRUE;
      },
      0);
}

bool HasDisplay() {
  const HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  if (probe == nullptr) return false;
  DestroyWindow(probe);
  return GetSystemMetrics(SM_CXSCREEN) > 0;
}

}  // namespace tarnvale::win::testing
