// Every control's text fits its control in the dialog's own font: as the
// dialog is shown here, and at 150 %, where the font and the dialog units
// grow together (as Windows lays out a dialog at 144 dots per inch).
#include "win/dialog_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "win/application.h"
#include "win/resource.h"
#include "win/win_text.h"
#include "window_driver.h"

namespace tarnvale::win {
namespace {

INT_PTR CALLBACK Fitted(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) FitDialogToTexts(dialog);
  return FALSE;
}

INT_PTR CALLBACK AsTemplated(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::vector<std::string> TextsOf(const std::vector<HWND>& controls) {
  std::vector<std::string> texts;
  for (const HWND control : controls) texts.push_back(Utf8(WindowText(control)));
  return texts;
}

// Pixels per dialog unit of the font in `dc`, as Windows computes them:
// from the average width of the 52 letters and the font's height.
Growth UnitsOf(HDC dc) {
  SIZE letters{};
  GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  return {((letters.cx / 26 + 1) / 2) / 4.0, metrics.tmHeight / 8.0};
}

// The texts of dialog `id` cut off with its font `scale` times as large
// and the layout grown as the dialog grows itself.
std::vector<std::string> ClippedAtScale(int id, double scale) {
  const HWND dialog =
      CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr, AsTemplated, 0);
  LOGFONTW face{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof(face), &face);
  face.lfHeight = static_cast<LONG>(std::lround(face.lfHeight * scale));
  const HFONT font = CreateFontIndirectW(&face);
  const HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ old_font = SelectObject(dc, font);
  const RECT base = DialogRect(dialog, 0, 0, 4, 8);
  const Growth font_units = UnitsOf(dc);
  const Growth units{font_units.x * 4 / base.right, font_units.y * 8 / base.bottom};
  const Growth growth = GrowthToFit(dialog, dc, units);
  std::vector<std::string> clipped = TextsOf(ClippedControls(dialog, dc, units, growth));
  SelectObject(dc, old_font);
  DeleteDC(dc);
  DeleteObject(font);
  DestroyWindow(dialog);
  return clipped;
}

// The texts of dialog `id`, opened as the program opens it, cut off.
std::vector<std::string> ClippedAsShown(int id) {
  const HWND dialog =
      CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr, Fitted, 0);
  const HDC dc = GetDC(dialog);
  const HGDIOBJ old_font =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
  std::vector<std::string> clipped = TextsOf(ClippedControls(dialog, dc, {}, {}));
  SelectObject(dc, old_font);
  ReleaseDC(dialog, dc);
  DestroyWindow(dialog);
  return clipped;
}

struct DialogRow {
  const char* name;
  int id;
};

void PrintTo(const DialogRow& row, std::ostream* out) { *out << row.name; }

class DialogTexts : public ::testing::TestWithParam<DialogRow> {
 protected:
  void SetUp() override {
    if (!testing::HasDisplay()) GTEST_SKIP() << "no display for Wine: run the tests under xvfb-run";
    PrepareWindowThread();
  }
};

TEST_P(DialogTexts, FitTheirControlsAsShownAndAt150Percent) {
  EXPECT_EQ(ClippedAsShown(GetParam().id), std::vector<std::string>());
  EXPECT_EQ(ClippedAtScale(GetParam().id, 1.5), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, DialogTexts,
                         ::testing::Values(DialogRow{"MainWindow", IDD_MAIN_WINDOW},
                                           DialogRow{"TargetProgram", IDD_TARGET_PROGRAM},
                                           DialogRow{"Simulator", IDD_SIMULATOR},
                                           DialogRow{"About", IDD_ABOUT},
                                           DialogRow{"Report", IDD_REPORT}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnvale::win
