// The Windows program's messages, the one at the end of a run with its summary and Details
// button, and the report window with find, Copy and Save As.

#include "win/report_windows.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cwctype>
#include <fstream>

#include "app/desktop_session.h"
#include "win/dialog_fit.h"
#include "win/resource.h"
#include "win/win_text.h"

namespace tarnvale::win {
namespace {

void Place(HWND dialog, int id, int x, int y, int width, int height) {
  SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A message, with the summary of a run beneath it and its report behind
// Details, or neither.
struct Message {
  std::wstring title;
  std::wstring text;
  std::wstring summary;
  std::string report;
};

// Gives the client area of `dialog` `width` x `height` pixels, around the
// centre it had.
void SetClientSize(HWND dialog, int width, int height) {
  RECT frame{};
  RECT client{};
  GetWindowRect(dialog, &frame);
  GetClientRect(dialog, &client);
  const int frame_width = frame.right - frame.left - client.right + width;
  const int frame_height = frame.bottom - frame.top - client.bottom + height;
  SetWindowPos(dialog, nullptr, (frame.left + frame.right - frame_width) / 2,
               (frame.top + frame.bottom - frame_height) / 2, frame_width, frame_height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// The message on top, the summary (when there is one) under it, OK and
// Details (when the dialog has it) under both on the right. The window is as
// high as they need, and a message alone only as wide as its longest line.
void LayOutMessage(HWND dialog, const Message& message) {
  const RECT margin = DialogRect(dialog, 10, 10, 280, 6);  // margin, widest text, gap
  const RECT button = DialogRect(dialog, 0, 0, 50, 14);
  const int gap = margin.bottom - margin.top;
  const bool details = GetDlgItem(dialog, IDC_DETAILS) != nullptr;
  const int widest = margin.right - margin.left;
  const int buttons = details ? 2 * button.right + gap : button.right;
  const int width =
      message.summary.empty()
          ? std::clamp<int>(TextSize(GetDlgItem(dialog, IDC_MESSAGE_TEXT), message.text, 0).cx,
                            buttons, widest)
          : widest;
  const int text_height = TextSize(GetDlgItem(dialog, IDC_MESSAGE_TEXT), message.text, width).cy;
  int y = margin.top;
  Place(dialog, IDC_MESSAGE_TEXT, margin.left, y, width, text_height);
  y += text_height + gap;
  if (!message.summary.empty()) {
    const int summary_height =
        TextSize(GetDlgItem(dialog, IDC_ENDING_SUMMARY), message.summary, width).cy;
    Place(dialog, IDC_ENDING_SUMMARY, margin.left, y, width, summary_height);
    y += summary_height + gap;
  }
  const int right = margin.left + width;
  if (details) Place(dialog, IDC_DETAILS, right - button.right, y, button.right, button.bottom);
  Place(dialog, IDOK, right - buttons, y, button.right, button.bottom);
  SetClientSize(dialog, right + margin.left, y + button.bottom + margin.top);
}

INT_PTR CALLBACK MessageProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    const auto& shown = *reinterpret_cast<const Message*>(lparam);
    SetWindowTextW(dialog, shown.title.c_str());
    SetApplicationIcon(dialog);
    ScaleDialogFont(dialog);
    SetControlText(dialog, IDC_MESSAGE_TEXT, shown.text);
    SetControlText(dialog, IDC_ENDING_SUMMARY, shown.summary);
    LayOutMessage(dialog, shown);
    SetFocus(GetDlgItem(dialog, IDOK));
    return FALSE;
  }
  if (message != WM_COMMAND) return FALSE;
  const auto& shown = *reinterpret_cast<const Message*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) EndDialog(dialog, IDOK);
  if (LOWORD(wparam) == IDC_DETAILS) ShowReport(dialog, shown.report);
  return TRUE;
}

void ShowMessageDialog(HWND owner, int template_id, const Message& message) {
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id), owner, MessageProcedure,
                  reinterpret_cast<LPARAM>(&message));
}

struct Report {
  std::wstring text;  // with Windows line ends
  HFONT font = nullptr;
};

// The find row on top, the report under it, the buttons at the bottom
// right; all follow the window's edges.
void LayOutReport(HWND dialog) {
  RECT client{};
  GetClientRect(dialog, &client);
  const RECT text = DialogRect(dialog, 7, 25, 0, 6);     // margin, top, gap above the buttons
  const RECT button = DialogRect(dialog, 0, 0, 55, 14);  // size, and the gap between them
  const RECT between = DialogRect(dialog, 0, 0, 5, 0);
  const int buttons_top = client.bottom - text.left - button.bottom;
  Place(dialog, IDC_REPORT_TEXT, text.left, text.top, client.right - 2 * text.left,
        buttons_top - (text.bottom - text.top) - text.top);
  int x = client.right - text.left;
  for (const int id : {IDCANCEL, IDC_SAVE_REPORT, IDC_COPY_REPORT}) {
    x -= button.right;
    Place(dialog, id, x, buttons_top, button.right, button.bottom);
    x -= between.right;
  }
}

void FindNext(HWND dialog) {
  std::wstring wanted = ControlText(dialog, IDC_FIND_FIELD);
  if (wanted.empty()) return;
  const HWND field = GetDlgItem(dialog, IDC_REPORT_TEXT);
  std::wstring text = WindowText(field);
  const auto lower = [](std::wstring& letters) {
    std::transform(letters.begin(), letters.end(), letters.begin(),
                   [](wchar_t letter) { return static_cast<wchar_t>(std::towlower(letter)); });
  };
  lower(wanted);
  lower(text);
  DWORD end = 0;
  SendMessageW(field, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
  std::size_t at = text.find(wanted, end);
  if (at == std::wstring::npos) at = text.find(wanted);  // again from the top
  SetControlText(dialog, IDC_FIND_RESULT, at == std::wstring::npos ? L"Not found" : L"");
  if (at == std::wstring::npos) return;
  SendMessageW(field, EM_SETSEL, at, at + wanted.size());
  SendMessageW(field, EM_SCROLLCARET, 0, 0);
}

void CopyReport(HWND dialog, const std::wstring& text) {
  if (!OpenClipboard(dialog)) return;
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

// Asks for a file, in the user's documents first, and writes the report
// into it as UTF-8.
void SaveReport(HWND dialog, const std::wstring& text) {
  wchar_t file[MAX_PATH] = L"tarnvale-report.txt";
  wchar_t documents[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
  OPENFILENAMEW choice{};
  choice.lStructSize = sizeof(choice);
  choice.hwndOwner = dialog;
  choice.lpstrFilter = L"Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
  choice.lpstrFile = file;
  choice.nMaxFile = MAX_PATH;
  choice.lpstrInitialDir = documents;
  choice.lpstrTitle = L"Save Report As";
  choice.lpstrDefExt = L"txt";
  choice.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&choice)) return;
  const std::string bytes = Utf8(text);
  std::ofstream out(std::filesystem::path(file), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    ShowMessageBox(dialog, ProgramName(),
                   std::wstring(L"The report could not be saved to ") + file + L".");
  }
}

// The report in a fixed-pitch face, as high as the dialog's font.
HFONT ReportFont(HWND dialog) {
  LOGFONTW face{};
  GetObjectW(DialogFont(dialog), sizeof(face), &face);
  face.lfWeight = FW_NORMAL;
  face.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  wcscpy_s(face.lfFaceName, L"Consolas");
  return CreateFontIndirectW(&face);
}

INT_PTR CALLBACK ReportProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* report = reinterpret_cast<Report*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      report = reinterpret_cast<Report*>(lparam);
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      SetWindowTextW(dialog, (ProgramName() + L" - Report").c_str());
      SetApplicationIcon(dialog);
      FitDialogToTexts(dialog);
      report->font = ReportFont(dialog);
      SendDlgItemMessageW(dialog, IDC_REPORT_TEXT, WM_SETFONT,
                          reinterpret_cast<WPARAM>(report->font), FALSE);
      SendDlgItemMessageW(dialog, IDC_REPORT_TEXT, EM_SETLIMITTEXT, 0, 0);
      SetControlText(dialog, IDC_REPORT_TEXT, report->text);
      LayOutReport(dialog);
      return TRUE;
    case WM_SIZE:
      if (report != nullptr) LayOutReport(dialog);
      return TRUE;
    case WM_GETMINMAXINFO:  // from the dialog's creation on
      if (report == nullptr) return FALSE;
      reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = {
          DialogRect(dialog, 0, 0, 300, 120).right, DialogRect(dialog, 0, 0, 300, 120).bottom};
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDOK:  // Enter, in the find field too
        case IDC_FIND_NEXT:
          FindNext(dialog);
          break;
        case IDC_COPY_REPORT:
          CopyReport(dialog, report->text);
          break;
        case IDC_SAVE_REPORT:
          SaveReport(dialog, report->text);
          break;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          break;
        default:
          break;
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowMessageBox(HWND owner, std::wstring_view title, std::wstring_view text) {
  ShowMessageDialog(owner, IDD_MESSAGE, {std::wstring(title), std::wstring(text), {}, {}});
}

void ShowRunEndingMessage(HWND owner, const std::string& text, const RunSummary& summary) {
  std::string lines;
  for (const std::string& line : RunEndingSummary(summary)) lines += line + '\n';
  ShowMessageDialog(owner, IDD_RUN_ENDING,
                    {ProgramName(), WithCrLf(text), WithCrLf(lines), RunDetailsText(summary)});
}

void ShowReport(HWND owner, const std::string& report) {
  Report shown{WithCrLf(report)};
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_REPORT), owner, ReportProcedure,
                  reinterpret_cast<LPARAM>(&shown));
  DeleteObject(shown.font);
}

}  // namespace tarnvale::win
