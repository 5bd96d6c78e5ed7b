// Every control's text fits its control in the dialog's own font: as the
// dialog is shown here, and at 150 %, where the font and the dialog units
// grow together (as Windows lays out a dialog at 144 dots per inch). The
// windows that lay themselves out (messages, the report) follow
// TARNVALE_FONT_SCALE as the dialogs do.
#include "win/dialog_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "app/run_summary.h"
#include "win/application.h"
#include "win/report_windows.h"
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
  const HGDIOBJ old_font = SelectObject(dc, DialogFont(dialog));
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

template <typename Row>
class WindowTest : public ::testing::TestWithParam<Row> {
 protected:
  void SetUp() override {
    if (!testing::HasDisplay()) GTEST_SKIP() << "no display for Wine: run the tests under xvfb-run";
    PrepareWindowThread();
  }
};

using DialogTexts = WindowTest<DialogRow>;

TEST_P(DialogTexts, FitTheirControlsAsShownAndAt150Percent) {
  EXPECT_EQ(ClippedAsShown(GetParam().id), std::vector<std::string>());
  EXPECT_EQ(ClippedAtScale(GetParam().id, 1.5), std::vector<std::string>());
  SetDialogFontScale(1.5);  // as TARNVALE_FONT_SCALE=1.5 asks
  EXPECT_EQ(ClippedAsShown(GetParam().id), std::vector<std::string>());
  SetDialogFontScale(1);
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, DialogTexts,
                         ::testing::Values(DialogRow{"MainWindow", IDD_MAIN_WINDOW},
                                           DialogRow{"TargetProgram", IDD_TARGET_PROGRAM},
                                           DialogRow{"Simulator", IDD_SIMULATOR},
                                           DialogRow{"About", IDD_ABOUT},
                                           DialogRow{"Report", IDD_REPORT}),
                         [](const auto& info) { return std::string(info.param.name); });

// How a window showed its text: the font's height in control `id`, the
// window's size, and the texts it cut off.
struct Look {
  LONG font_height = 0;
  SIZE client{};
  std::vector<std::string> clipped;
};

Look LookOf(HWND window, int id) {
  LOGFONTW face{};
  GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(window, id, WM_GETFONT, 0, 0)),
             sizeof(face), &face);
  RECT client{};
  GetClientRect(window, &client);
  const HDC dc = GetDC(window);
  const HGDIOBJ old_font = SelectObject(dc, DialogFont(window));
  Look look{std::abs(face.lfHeight),
            {client.right, client.bottom},
            TextsOf(ClippedControls(window, dc, {}, {}))};
  SelectObject(dc, old_font);
  ReleaseDC(window, dc);
  return look;
}

struct SelfLaidOutRow {
  const char* name;
  std::function<void()> show;  // modal until closed
  std::wstring title;
  int text_id;
  int close_id;
};

void PrintTo(const SelfLaidOutRow& row, std::ostream* out) { *out << row.name; }

class SelfLaidOut : public WindowTest<SelfLaidOutRow> {
 protected:
  void TearDown() override { SetDialogFontScale(1); }

  static Look ShownAt(double scale) {
    SetDialogFontScale(scale);
    Look look;
    std::thread driver([&] {
      const HWND window = testing::WaitForWindow(GetParam().title);
      look = LookOf(window, GetParam().text_id);
      testing::Press(window, GetParam().close_id);
    });
    GetParam().show();
    driver.join();
    return look;
  }
};

TEST_P(SelfLaidOut, GrowWithTheFontScaleAndHoldTheirTexts) {
  const Look usual = ShownAt(1);
  const Look larger = ShownAt(1.5);
  EXPECT_NEAR(static_cast<double>(larger.font_height) / usual.font_height, 1.5, 0.1);
  EXPECT_GE(larger.client.cx, usual.client.cx * 1.4);
  EXPECT_GE(larger.client.cy, usual.client.cy * 1.4);
  EXPECT_EQ(usual.clipped, std::vector<std::string>());
  EXPECT_EQ(larger.clipped, std::vector<std::string>());
}

RunSummary SummaryOfARun() {
  RunSummary run;
  run.records = {{"airports", 24'310}, {"runways", 30'874}};
  return run;
}

INSTANTIATE_TEST_SUITE_P(
    EveryWindow, SelfLaidOut,
    ::testing::Values(SelfLaidOutRow{"Message",
                                     [] {
                                       ShowMessageBox(nullptr, ProgramName(),
                                                      L"You didn't selected any Quelby's Program.\n"
                                                      L"Choose one of the three programs above.");
                                     },
                                     ProgramName(), IDC_MESSAGE_TEXT, IDOK},
                      SelfLaidOutRow{"RunEnding",
                                     [] {
                                       ShowRunEndingMessage(nullptr, "The files are ready.",
                                                            SummaryOfARun());
                                     },
                                     ProgramName(), IDC_ENDING_SUMMARY, IDOK},
                      SelfLaidOutRow{"Details",
                                     [] { ShowReport(nullptr, "Areas:\n  Base  read  3 files\n"); },
                                     ProgramName() + L" - Report", IDC_REPORT_TEXT, IDCANCEL}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnvale::win
