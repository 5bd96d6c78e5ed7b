// The Windows setup dialogs: the target program and the simulator, with its found installs listed
// beneath, and the shell's folder chooser for Browse.

#include "win/setup_dialogs.h"

#include <shobjidl.h>

#include <algorithm>
#include <vector>

#include "platform/wine_prefix.h"
#include "win/dialog_fit.h"
#include "win/report_windows.h"
#include "win/resource.h"
#include "win/win_text.h"

namespace tarnvale::win {
namespace {

namespace fs = std::filesystem;

// The simulator dialog's first height, and its found installs beneath it,
// in dialog units.
constexpr int kSimulatorHeight = 130;
constexpr int kFoundTop = 128;
constexpr int kFoundListTop = kFoundTop + 12;
constexpr int kFoundBottomMargin = 6;
constexpr int kMaxFoundRows = 4;  // more scroll

// What the two setup dialogs share: radio buttons for the choice, a folder
// field with "Browse...", and an "Ok" that either accepts the answer or
// shows why not and stays open. The close box and Escape end it unaccepted.
class SetupDialog {
 public:
  SetupDialog(int template_id, std::vector<int> radios, int field, const FolderChooser& chooser)
      : template_id_(template_id), radios_(std::move(radios)), field_(field), chooser_(chooser) {}
  virtual ~SetupDialog() = default;

  // Opens with the radio button at 1-based `place` (0: none) checked and
  // `folder` in the field; the full path of the accepted folder, or
  // std::nullopt when closed without one.
  std::optional<fs::path> Ask(HWND owner, int place, const std::wstring& folder) {
    prefilled_place_ = place;
    prefilled_folder_ = folder;
    accepted_.clear();
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id_), owner, Procedure,
                        reinterpret_cast<LPARAM>(this));
    if (result != IDOK) return std::nullopt;
    return accepted_;
  }

  // The 1-based place of the radio button checked when "Ok" accepted.
  int AcceptedPlace() const { return accepted_place_; }

 protected:
  virtual DialogAnswer Answer(int place, const std::string& text) const = 0;
  // The folder the field's text names, for "Browse..." to start in.
  virtual fs::path TypedFolder(const std::string& text) const = 0;
  virtual void Opened() {}
  virtual void Chosen(int /*place*/) {}
  virtual void Command(int /*id*/, int /*code*/) {}

  HWND Window() const { return window_; }
  std::string FieldText() const { return Utf8(ControlText(window_, field_)); }
  void SetFieldText(const std::wstring& text) { SetControlText(window_, field_, text); }

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrW(window, DWLP_USER, lparam);
      reinterpret_cast<SetupDialog*>(lparam)->Open(window);
      return TRUE;
    }
    auto* dialog = reinterpret_cast<SetupDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr || message != WM_COMMAND) return FALSE;
    dialog->OnCommand(LOWORD(wparam), HIWORD(wparam));
    return TRUE;
  }

  void Open(HWND window) {
    window_ = window;
    SetApplicationIcon(window);
    FitDialogToTexts(window);
    Opened();
    // The field first: a choice may look at what it holds.
    SetFieldText(prefilled_folder_);
    if (prefilled_place_ > 0 && prefilled_place_ <= static_cast<int>(radios_.size())) {
      CheckRadioButton(window, radios_.front(), radios_.back(), radios_[prefilled_place_ - 1]);
      Chosen(prefilled_place_);
    }
  }

  int CheckedPlace() const {
    for (std::size_t place = 0; place < radios_.size(); ++place) {
      if (IsDlgButtonChecked(window_, radios_[place]) == BST_CHECKED) {
        return static_cast<int>(place) + 1;
      }
    }
    return 0;
  }

  void OnCommand(int id, int code) {
    if (id == IDCANCEL) {
      EndDialog(window_, IDCANCEL);
    } else if (id == IDOK || id == IDC_TARGET_OK || id == IDC_SIMULATOR_OK) {
      OnOk();
    } else if (id == IDC_TARGET_BROWSE || id == IDC_SIMULATOR_BROWSE) {
      OnBrowse();
    } else if (const auto radio = std::find(radios_.begin(), radios_.end(), id);
               radio != radios_.end() && code == BN_CLICKED) {
      Chosen(static_cast<int>(radio - radios_.begin()) + 1);
    } else {
      Command(id, code);
    }
  }

  void OnOk() {
    const int place = CheckedPlace();
    const DialogAnswer answer = Answer(place, FieldText());
    if (!answer.accepted) {
      ShowMessageBox(window_, ProgramName(), Wide(answer.message));
      return;
    }
    accepted_ = answer.folder;
    accepted_place_ = place;
    EndDialog(window_, IDOK);
  }

  void OnBrowse() {
    const std::string text = FieldText();
    const fs::path chosen = chooser_(window_, BrowseStartFolder(text, TypedFolder(text)));
    if (!chosen.empty()) SetFieldText(fs::path(chosen).make_preferred().wstring());
  }

  const int template_id_;
  const std::vector<int> radios_;
  const int field_;
  const FolderChooser& chooser_;
  HWND window_ = nullptr;
  int prefilled_place_ = 0;
  std::wstring prefilled_folder_;
  fs::path accepted_;
  int accepted_place_ = 0;
};

class TargetDialog final : public SetupDialog {
 public:
  explicit TargetDialog(const FolderChooser& chooser)
      : SetupDialog(IDD_TARGET_PROGRAM, {IDC_CHART_FS2002, IDC_CHART_FS2004, IDC_RADAR},
                    IDC_TARGET_FOLDER, chooser) {}

 protected:
  // The radio buttons are in the order of the choices 1, 2 and 3.
  DialogAnswer Answer(int place, const std::string& text) const override {
    return CheckTargetProgramAnswer(static_cast<TargetProgramChoice>(place), text, WorkingFolder());
  }
  fs::path TypedFolder(const std::string& text) const override {
    return platform::ResolveTypedPath(text, WorkingFolder(), {});
  }
};

// Choosing a version looks for its installs (LookForSimulatorInstalls);
// those it lists go under the dialog's own controls, which grows to hold
// them, and a click on one puts it in the folder field.
class SimulatorDialog final : public SetupDialog {
 public:
  SimulatorDialog(const FolderChooser& chooser, fs::path target_folder)
      : SetupDialog(IDD_SIMULATOR, {IDC_FS2002, IDC_FS2004}, IDC_SIMULATOR_FOLDER, chooser),
        target_folder_(std::move(target_folder)) {}

 protected:
  // A relative folder is taken from the target folder, where the program
  // stands when it asks for the simulator.
  DialogAnswer Answer(int place, const std::string& text) const override {
    return CheckSimulatorAnswer(SimulatorAtPlace(place), text, RelativeBase(), target_folder_);
  }
  fs::path TypedFolder(const std::string& text) const override {
    return platform::ResolveTypedPath(text, RelativeBase(), target_folder_);
  }
  void Opened() override {
    filled_.clear();
    ShowFound({});
  }
  void Chosen(int place) override {
    const FoundInstalls found =
        LookForSimulatorInstalls(SimulatorAtPlace(place), target_folder_, FieldText(), filled_);
    if (found.fill) UseFound(*found.fill);
    ShowFound(found.listed);
  }
  void Command(int id, int code) override {
    if (id != IDC_FOUND_LIST || code != LBN_SELCHANGE) return;
    const HWND list = GetDlgItem(Window(), IDC_FOUND_LIST);
    const LRESULT row = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (row == LB_ERR) return;
    std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, row, 0)) + 1,
                      L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
    UseFound(Utf8(text));
  }

 private:
  fs::path RelativeBase() const {
    return target_folder_.empty() ? WorkingFolder() : target_folder_;
  }

  void UseFound(const std::string& text) {
    SetFieldText(Wide(text));
    filled_ = text;
  }

  // Places control `id` at x, y, width, height dialog units.
  void Place(int id, int x, int y, int width, int height) const {
    const RECT rect = DialogRect(Window(), x, y, width, height);
    SetWindowPos(GetDlgItem(Window(), id), nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Gives the client area a height of `height` dialog units.
  void SetClientHeight(int height) const {
    const RECT units = DialogRect(Window(), 0, 0, 0, height);
    RECT client{};
    RECT frame{};
    GetClientRect(Window(), &client);
    GetWindowRect(Window(), &frame);
    const int frame_height = (frame.bottom - frame.top) - (client.bottom - client.top);
    SetWindowPos(Window(), nullptr, 0, 0, frame.right - frame.left, units.bottom + frame_height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  int ListHeightInUnits(HWND list, const std::vector<std::string>& folders) const {
    const int rows = std::min(static_cast<int>(folders.size()), kMaxFoundRows);
    RECT client{};
    RECT frame{};
    GetClientRect(list, &client);
    GetWindowRect(list, &frame);
    const int border = (frame.bottom - frame.top) - (client.bottom - client.top);
    int pixels = rows * static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)) + border;
    if (SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0) > client.right - client.left) {
      pixels += GetSystemMetrics(SM_CYHSCROLL);
    }
    const RECT base = DialogRect(Window(), 0, 0, 0, 8);
    return (pixels * 8 + base.bottom - 1) / base.bottom;
  }

  void ShowFound(const std::vector<std::string>& folders) {
    const HWND list = GetDlgItem(Window(), IDC_FOUND_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    int widest = 0;
    const HDC dc = GetDC(list);
    const HGDIOBJ old_font =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    for (const std::string& folder : folders) {
      const std::wstring text = Wide(folder);
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      widest = std::max(widest, static_cast<int>(size.cx) + 8);
    }
    SelectObject(dc, old_font);
    ReleaseDC(list, dc);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, widest, 0);
    const int show = folders.empty() ? SW_HIDE : SW_SHOW;
    ShowWindow(GetDlgItem(Window(), IDC_FOUND_GROUP), show);
    ShowWindow(list, show);
    if (folders.empty()) {
      SetClientHeight(kSimulatorHeight);
      return;
    }
    const int list_height = ListHeightInUnits(list, folders);
    Place(IDC_FOUND_LIST, 13, kFoundListTop, 235, list_height);
    const int group_bottom = kFoundListTop + list_height + kFoundBottomMargin;
    Place(IDC_FOUND_GROUP, 7, kFoundTop, 247, group_bottom - kFoundTop);
    SetClientHeight(group_bottom + 7);
  }

  const fs::path target_folder_;
  std::string filled_;  // what the dialog itself last put in the folder field
};

}  // namespace

fs::path ChooseFolderWithShell(HWND owner, const fs::path& start) {
  IFileDialog* dialog = nullptr;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&dialog)))) {
    return {};
  }
  DWORD options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
  dialog->SetTitle(L"Choose a folder");
  IShellItem* folder = nullptr;
  if (!start.empty() &&
      SUCCEEDED(SHCreateItemFromParsingName(start.c_str(), nullptr, IID_PPV_ARGS(&folder)))) {
    dialog->SetFolder(folder);
    folder->Release();
  }
  fs::path chosen;
  IShellItem* result = nullptr;
  if (dialog->Show(owner) == S_OK && SUCCEEDED(dialog->GetResult(&result))) {
    PWSTR path = nullptr;
    if (SUCCEEDED(result->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
      chosen = path;
      CoTaskMemFree(path);
    }
    result->Release();
  }
  dialog->Release();
  return chosen;
}

WinStartupView::WinStartupView() : chooser_(ChooseFolderWithShell) {}

void WinStartupView::PrefillTarget(TargetProgramChoice choice, const fs::path& folder) {
  prefilled_choice_ = choice;
  prefilled_folder_ = folder;
}

std::optional<fs::path> WinStartupView::AskTargetFolder() {
  TargetDialog dialog(chooser_);
  std::optional<fs::path> folder =
      dialog.Ask(owner_, static_cast<int>(prefilled_choice_), prefilled_folder_.wstring());
  if (!folder) return std::nullopt;
  accepted_choice_ = static_cast<TargetProgramChoice>(dialog.AcceptedPlace());
  target_folder_ = *folder;
  return folder;
}

// The simulator is looked for, and a relative answer taken, in the target
// program's folder.
std::optional<SimulatorChoice> WinStartupView::AskSimulator(const SimulatorChoice& recorded) {
  SimulatorDialog dialog(chooser_, target_folder_);
  const std::optional<fs::path> folder =
      dialog.Ask(owner_, PlaceOfSimulator(recorded.version), recorded.folder.wstring());
  if (!folder) return std::nullopt;
  return SimulatorChoice{SimulatorAtPlace(dialog.AcceptedPlace()), *folder};
}

void WinStartupView::ShowMessage(std::string_view text, MessageTitle title) {
  const std::string program = Utf8(ProgramName());
  ShowMessageBox(owner_, Wide(MessageTitleText(title, program)), Wide(text));
}

}  // namespace tarnvale::win
