// The about box of the Windows program, shown modally from the Help menu.

#include "win/about_box.h"

#include "app/about_text.h"
#include "win/dialog_fit.h"
#include "win/resource.h"
#include "win/win_text.h"

namespace tarnvale::win {
namespace {

INT_PTR CALLBACK AboutProcedure(HWND window, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) {
    SetApplicationIcon(window);
    FitDialogToTexts(window);
    SetControlText(window, IDC_CONTACT_TEXT, WithCrLf(text::kAboutContact));
    SetControlText(window, IDC_DESCRIPTION_FIELD, WithCrLf(text::kAboutDescription));
    SetControlText(window, IDC_CREDITS_FIELD, WithCrLf(text::AboutCredits("the Windows API")));
    SetFocus(GetDlgItem(window, IDOK));  // the fields open at their start, nothing selected
    return FALSE;
  }
  if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
    EndDialog(window, IDOK);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void ShowAboutBox(HWND owner) {
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutProcedure, 0);
}

}  // namespace tarnvale::win
