// Texts through the wide Windows API: UTF-8 conversions, control texts, the program's name and
// icon, and texts shortened in the middle with a tooltip.

#include "win/win_text.h"

#include <commctrl.h>

#include <filesystem>

#include "win/resource.h"

namespace tarnvale::win {
namespace {

constexpr wchar_t kEllipsis = L'\u2026';

int TextWidth(HDC dc, std::wstring_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// The room for text in `control`: its client width less the margins an edit
// field keeps on either side.
int TextRoom(HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  int room = client.right - client.left;
  wchar_t kind[16] = {};
  GetClassNameW(control, kind, 16);
  if (_wcsicmp(kind, L"Edit") == 0) {
    const DWORD margins = static_cast<DWORD>(SendMessageW(control, EM_GETMARGINS, 0, 0));
    room -= LOWORD(margins) + HIWORD(margins) + 2;
  }
  return room;
}

// `head` and as much of `rest` as `room` pixels hold: the same number of
// characters from its start and its end around an ellipsis.
std::wstring Elided(HDC dc, std::wstring_view head, std::wstring_view rest, int room) {
  std::wstring whole = std::wstring(head).append(rest);
  if (TextWidth(dc, whole) <= room) return whole;
  std::wstring best = std::wstring(head) + kEllipsis;
  std::size_t low = 0;
  std::size_t high = rest.size();
  while (low < high) {  // the most characters kept that still fit
    const std::size_t kept = (low + high + 1) / 2;
    const std::size_t front = (kept + 1) / 2;
    std::wstring shown = std::wstring(head)
                             .append(rest.substr(0, front))
                             .append(1, kEllipsis)
                             .append(rest.substr(rest.size() - (kept - front)));
    if (TextWidth(dc, shown) <= room) {
      best = std::move(shown);
      low = kept;
    } else {
      high = kept - 1;
    }
  }
  return best;
}

void SetTooltip(HWND tooltips, HWND control, const std::wstring& text) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tooltips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (!text.empty()) SendMessageW(tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

std::wstring Wide(std::string_view utf8) { return platform::WideFromUtf8(utf8); }
std::string Utf8(std::wstring_view wide) { return platform::Utf8FromWide(wide); }

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

void SetControlText(HWND dialog, int id, std::wstring_view text) {
  SetDlgItemTextW(dialog, id, std::wstring(text).c_str());
}

std::wstring ProgramName() {
  std::wstring file(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, file.data(), static_cast<DWORD>(file.size()));
    if (length < file.size()) {
      file.resize(length);
      break;
    }
    file.resize(file.size() * 2);
  }
  return std::filesystem::path(file).stem().wstring();
}

void SetApplicationIcon(HWND window) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const UINT dpi = GetDpiForWindow(window);
  for (const auto& [kind, size] :
       {std::pair(ICON_BIG, SM_CXICON), std::pair(ICON_SMALL, SM_CXSMICON)}) {
    const int pixels = GetSystemMetricsForDpi(size, dpi);
    const auto icon =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TARNVALE), IMAGE_ICON, pixels,
                                      pixels, LR_DEFAULTCOLOR | LR_SHARED));
    SendMessageW(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
  }
}

void SetElidedText(HWND control, HWND tooltips, std::wstring_view head, std::wstring_view rest) {
  const HDC dc = GetDC(control);
  const HGDIOBJ old_font =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  const std::wstring shown = Elided(dc, head, rest, TextRoom(control));
  SelectObject(dc, old_font);
  ReleaseDC(control, dc);
  SetWindowTextW(control, shown.c_str());
  const std::wstring whole = std::wstring(head).append(rest);
  SetTooltip(tooltips, control, shown == whole ? std::wstring() : whole);
}

HWND CreateTooltips(HWND dialog) {
  const HWND tooltips =
      CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                      GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tooltips, TTM_SETMAXTIPWIDTH, 0, 600);
  return tooltips;
}

std::wstring WithCrLf(std::string_view utf8) {
  std::wstring text;
  for (const wchar_t character : Wide(utf8)) {
    if (character == L'\n') text += L'\r';
    text += character;
  }
  return text;
}

}  // namespace tarnvale::win
