// Scales a Windows dialog's font as asked, and stretches the dialog, within a limit, until every
// control holds its text in the font the dialog got.

#include "win/dialog_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "win/win_text.h"

namespace tarnvale::win {
namespace {

// Stretching stops here even if a text still does not fit, so that a font
// that cannot be measured never makes a window grow without end.
constexpr double kMaxGrowth = 3;
// Stretching goes in steps of this much.
constexpr double kGrowthStep = 0.02;

// Larger fonts than this are the job of the system's own scaling.
constexpr double kMaxFontScale = 3;

constexpr wchar_t kGrowthX[] = L"TarnvaleGrowthX";
constexpr wchar_t kGrowthY[] = L"TarnvaleGrowthY";
constexpr double kPropertyScale = 1000;  // window properties hold integers
constexpr wchar_t kScaledFont[] = L"TarnvaleFont";

bool IsClass(HWND control, const wchar_t* name) {
  wchar_t kind[32] = {};
  GetClassNameW(control, kind, 32);
  return _wcsicmp(kind, name) == 0;
}

struct Overflow {
  bool width = false;   // more width would let the text fit
  bool height = false;  // only more height would
};

// Where a control's text, in the font of `dc`, overflows a control of
// `width` x `height` pixels. A wrapped text that takes more lines than it
// has room for asks for more width, unless even one line is too high.
Overflow OverflowOf(HWND control, HDC dc, int width, int height, double font_scale) {
  const std::wstring text = WindowText(control);
  if (text.empty()) return {};
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT rect{0, 0, width, 0};
  if (IsClass(control, L"Static")) {
    const UINT flags = DT_CALCRECT | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
    DrawTextW(dc, text.c_str(), -1, &rect, flags | DT_WORDBREAK);
    if (rect.bottom <= height) return {rect.right > width, false};
    RECT unwrapped{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &unwrapped, flags);
    return {unwrapped.bottom <= height, unwrapped.bottom > height};
  }
  if (!IsClass(control, L"Button")) return {};  // edit fields, lists and bars scroll
  DrawTextW(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE);
  SIZE needed{rect.right, metrics.tmHeight};
  switch (style & BS_TYPEMASK) {
    case BS_GROUPBOX:  // the title, indented, in the frame's top line
      needed.cx += 2 * metrics.tmAveCharWidth;
      break;
    case BS_AUTORADIOBUTTON:
    case BS_RADIOBUTTON:
    case BS_AUTOCHECKBOX:
    case BS_CHECKBOX:  // the check mark and a gap before the text
      needed.cx += static_cast<int>(std::lround(17 * font_scale));
      break;
    default:  // a push button's frame and margin on either side
      needed.cx += static_cast<int>(std::lround(8 * font_scale));
      needed.cy += static_cast<int>(std::lround(2 * font_scale));
      break;
  }
  return {needed.cx > width, needed.cy > height};
}

// The control's rectangle in the dialog's client area, as the template has
// it at the dialog's own size.
RECT PlacedRect(HWND dialog, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

double Property(HWND dialog, const wchar_t* name) {
  const auto kept = reinterpret_cast<std::intptr_t>(GetPropW(dialog, name));
  return kept > 0 ? kept / kPropertyScale : 1.0;
}

double FontScale(Growth units) { return units.y; }

double& FontScaleSetting() {
  static double scale = [] {
    const char* asked = std::getenv("TARNVALE_FONT_SCALE");
    char* end = nullptr;
    const double value = asked != nullptr ? std::strtod(asked, &end) : 0;
    const bool number = asked != nullptr && end != asked && *end == '\0';
    return number && value >= 1 && value <= kMaxFontScale ? value : 1.0;
  }();
  return scale;
}

// `font` `scale` times as high. One font per face and size, kept for the
// program's life: windows open again and again, in few sizes.
HFONT ScaledFont(HFONT font, double scale) {
  LOGFONTW face{};
  GetObjectW(font, sizeof(face), &face);
  face.lfHeight = static_cast<LONG>(std::lround(face.lfHeight * scale));
  face.lfWidth = static_cast<LONG>(std::lround(face.lfWidth * scale));
  static std::mutex guard;
  static std::map<std::tuple<std::wstring, LONG, LONG>, HFONT> made;
  const std::lock_guard lock(guard);
  HFONT& kept = made[{face.lfFaceName, face.lfHeight, face.lfWeight}];
  if (kept == nullptr) kept = CreateFontIndirectW(&face);
  return kept;
}

// Gives the dialog and its controls its font DialogFontScale() times as
// large; returns that factor.
double SetScaledFont(HWND dialog) {
  const double scale = DialogFontScale();
  if (scale == 1) return scale;
  const HFONT font = ScaledFont(DialogFont(dialog), scale);
  SetPropW(dialog, kScaledFont, font);
  for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
       control = GetWindow(control, GW_HWNDNEXT)) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  return scale;
}

void KeepStretch(HWND dialog, Growth stretch) {
  SetPropW(dialog, kGrowthX, reinterpret_cast<HANDLE>(std::lround(stretch.x * kPropertyScale)));
  SetPropW(dialog, kGrowthY, reinterpret_cast<HANDLE>(std::lround(stretch.y * kPropertyScale)));
}

// Every control's overflow, and the controls that have one.
Overflow Measure(HWND dialog, HDC dc, Growth units, Growth growth, std::vector<HWND>* clipped) {
  Overflow any;
  for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
       control = GetWindow(control, GW_HWNDNEXT)) {
    if (!(GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE)) continue;
    const RECT rect = PlacedRect(dialog, control);
    const int width = static_cast<int>(std::floor((rect.right - rect.left) * units.x * growth.x));
    const int height = static_cast<int>(std::floor((rect.bottom - rect.top) * units.y * growth.y));
    const Overflow overflow = OverflowOf(control, dc, width, height, FontScale(units));
    any.width = any.width || overflow.width;
    any.height = any.height || overflow.height;
    if (clipped != nullptr && (overflow.width || overflow.height)) clipped->push_back(control);
  }
  return any;
}

}  // namespace

std::vector<HWND> ClippedControls(HWND dialog, HDC dc, Growth units, Growth growth) {
  std::vector<HWND> clipped;
  Measure(dialog, dc, units, growth, &clipped);
  return clipped;
}

Growth GrowthToFit(HWND dialog, HDC dc, Growth units) {
  Growth growth;
  for (;;) {
    const Overflow overflow = Measure(dialog, dc, units, growth, nullptr);
    const bool wider = overflow.width && growth.x < kMaxGrowth;
    const bool taller = overflow.height && growth.y < kMaxGrowth;
    if (!wider && !taller) return growth;
    if (wider) growth.x += kGrowthStep;
    if (taller) growth.y += kGrowthStep;
  }
}

double DialogFontScale() { return FontScaleSetting(); }

HFONT DialogFont(HWND dialog) {
  if (const HANDLE scaled = GetPropW(dialog, kScaledFont)) return static_cast<HFONT>(scaled);
  return reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
}

void SetDialogFontScale(double scale) { FontScaleSetting() = scale; }

void ScaleDialogFont(HWND dialog) {
  const double scale = SetScaledFont(dialog);
  KeepStretch(dialog, {scale, scale});
}

void FitDialogToTexts(HWND dialog) {
  const double scale = SetScaledFont(dialog);
  const HDC dc = GetDC(dialog);
  const HGDIOBJ old_font = SelectObject(dc, DialogFont(dialog));
  const Growth growth = GrowthToFit(dialog, dc, {scale, scale});
  SelectObject(dc, old_font);
  ReleaseDC(dialog, dc);
  const Growth stretch{scale * growth.x, scale * growth.y};
  KeepStretch(dialog, stretch);
  if (stretch.x == 1 && stretch.y == 1) return;
  for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
       control = GetWindow(control, GW_HWNDNEXT)) {
    const RECT rect = PlacedRect(dialog, control);
    SetWindowPos(control, nullptr, static_cast<int>(std::lround(rect.left * stretch.x)),
                 static_cast<int>(std::lround(rect.top * stretch.y)),
                 static_cast<int>(std::lround((rect.right - rect.left) * stretch.x)),
                 static_cast<int>(std::lround((rect.bottom - rect.top) * stretch.y)),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT client{};
  RECT frame{};
  GetClientRect(dialog, &client);
  GetWindowRect(dialog, &frame);
  SetWindowPos(
      dialog, nullptr, 0, 0,
      frame.right - frame.left + static_cast<int>(std::lround(client.right * (stretch.x - 1))),
      frame.bottom - frame.top + static_cast<int>(std::lround(client.bottom * (stretch.y - 1))),
      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT DialogRect(HWND dialog, int x, int y, int width, int height) {
  RECT rect{x, y, x + width, y + height};
  MapDialogRect(dialog, &rect);
  const double growth_x = Property(dialog, kGrowthX);
  const double growth_y = Property(dialog, kGrowthY);
  return {static_cast<LONG>(std::lround(rect.left * growth_x)),
          static_cast<LONG>(std::lround(rect.top * growth_y)),
          static_cast<LONG>(std::lround(rect.right * growth_x)),
          static_cast<LONG>(std::lround(rect.bottom * growth_y))};
}

int HeightInUnits(HWND dialog, int pixels) {
  const RECT unit = DialogRect(dialog, 0, 0, 0, 8);
  return (pixels * 8 + unit.bottom - 1) / unit.bottom;
}

SIZE TextSize(HWND control, const std::wstring& text, int width) {
  RECT rect{0, 0, width, 0};
  const HDC dc = GetDC(control);
  const HGDIOBJ old_font =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            DT_CALCRECT | DT_EDITCONTROL | DT_NOPREFIX | (width > 0 ? DT_WORDBREAK : 0));
  SelectObject(dc, old_font);
  ReleaseDC(control, dc);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void PlaceControl(HWND dialog, int id, int x, int y, int width, int height) {
  const RECT rect = DialogRect(dialog, x, y, width, height);
  SetWindowPos(GetDlgItem(dialog, id), nullptr, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetClientHeight(HWND dialog, int height) {
  const RECT units = DialogRect(dialog, 0, 0, 0, height);
  RECT client{};
  RECT frame{};
  GetClientRect(dialog, &client);
  GetWindowRect(dialog, &frame);
  const int frame_height = (frame.bottom - frame.top) - (client.bottom - client.top);
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, units.bottom + frame_height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tarnvale::win
