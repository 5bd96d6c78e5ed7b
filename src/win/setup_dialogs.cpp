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

// Where a setup dialog lists what was found installed, in dialog units: its
// height without the list, the top and width of the list's group.
struct FoundArea {
  int dialog_height;
  int top;
  int width;
};
constexpr FoundArea kTargetFound{252, 250, 263};
constexpr FoundArea kSimulatorFound{130, 128, 247};
constexpr int kFoundLeft = 7;
constexpr int kFoundListInset = 6;  // the list within its group, left and right
constexpr int kFoundListBelowTop = 12;
constexpr int kFoundBottomMargin = 6;
constexpr int kMaxFoundRows = 4;  // more scroll

// What the two setup dialogs share: radio buttons for the choice, a folder
// field with "Browse...", what was found installed listed beneath (the
// dialog growing to hold the list), and an "Ok" that either accepts the
// answer or shows why not and stays open. The close box and Escape end it
// unaccepted.
class SetupDialog {
 public:
  SetupDialog(int template_id, std::vector<int> radios, int field, FoundArea found,
              const FolderChooser& chooser)
      : template_id_(template_id),
        radios_(std::move(radios)),
        field_(field),
        found_(found),
        chooser_(chooser) {}
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
  // A folder near which "Browse..." looks for "Program Files" when the
  // field is blank (none: the system's, or the Wine prefixes' own).
  virtual fs::path BrowseNear() const { return {}; }
  virtual void Opened() {}
  virtual void Chosen(int /*place*/) {}
  // Row `row` of the list of what was found was clicked.
  virtual void FoundChosen(int /*row*/) {}

  HWND Window() const { return window_; }
  std::string FieldText() const { return Utf8(ControlText(window_, field_)); }
  void SetFieldText(const std::wstring& text) { SetControlText(window_, field_, text); }
  // Checks the radio button at 1-based `place`, as a click does.
  void Choose(int place) {
    if (place < 1 || place > static_cast<int>(radios_.size())) return;
    CheckRadioButton(window_, radios_.front(), radios_.back(), radios_[place - 1]);
    Chosen(place);
  }

  // Lists `rows` under the dialog, which grows to hold them; none: no list.
  void ShowFound(const std::vector<std::string>& rows) {
    const HWND list = GetDlgItem(window_, IDC_FOUND_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    int widest = 0;
    const HDC dc = GetDC(list);
    const HGDIOBJ old_font =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    for (const std::string& row : rows) {
      const std::wstring text = Wide(row);
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      widest = std::max(widest, static_cast<int>(size.cx) + 8);
    }
    SelectObject(dc, old_font);
    ReleaseDC(list, dc);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, widest, 0);
    const int show = rows.empty() ? SW_HIDE : SW_SHOW;
    if (rows.empty()) {
      SetClientHeight(window_, found_.dialog_height);
    } else {
      const int list_top = found_.top + kFoundListBelowTop;
      const int list_height = ListHeightInUnits(list, rows.size());
      PlaceControl(window_, IDC_FOUND_LIST, kFoundLeft + kFoundListInset, list_top,
                   found_.width - 2 * kFoundListInset, list_height);
      const int group_bottom = list_top + list_height + kFoundBottomMargin;
      PlaceControl(window_, IDC_FOUND_GROUP, kFoundLeft, found_.top, found_.width,
                   group_bottom - found_.top);
      SetClientHeight(window_, group_bottom + 7);
    }
    // Shown where they stand, then drawn whole: moving a shown list would
    // copy what it showed before its rows.
    ShowWindow(GetDlgItem(window_, IDC_FOUND_GROUP), show);
    ShowWindow(list, show);
    InvalidateRect(list, nullptr, TRUE);
  }

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
    Choose(prefilled_place_);
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
    } else if (id == IDC_FOUND_LIST && code == LBN_SELCHANGE) {
      const LRESULT row = SendDlgItemMessageW(window_, IDC_FOUND_LIST, LB_GETCURSEL, 0, 0);
      if (row != LB_ERR) FoundChosen(static_cast<int>(row));
    }
  }

  // The height of a list of `rows` rows, in dialog units.
  int ListHeightInUnits(HWND list, std::size_t rows) const {
    RECT client{};
    RECT frame{};
    GetClientRect(list, &client);
    GetWindowRect(list, &frame);
    const int border = (frame.bottom - frame.top) - (client.bottom - client.top);
    int pixels = std::min(static_cast<int>(rows), kMaxFoundRows) *
                     static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)) +
                 border;
    if (SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0) > client.right - client.left) {
      pixels += GetSystemMetrics(SM_CYHSCROLL);
    }
    return HeightInUnits(window_, pixels);
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
    const fs::path chosen =
        chooser_(window_, BrowseStartFolder(text, TypedFolder(text), BrowseNear()));
    if (!chosen.empty()) SetFieldText(fs::path(chosen).make_preferred().wstring());
  }

  const int template_id_;
  const std::vector<int> radios_;
  const int field_;
  const FoundArea found_;
  const FolderChooser& chooser_;
  HWND window_ = nullptr;
  int prefilled_place_ = 0;
  std::wstring prefilled_folder_;
  fs::path accepted_;
  int accepted_place_ = 0;
};

// The programs found installed are listed under the dialog; a click on one
// chooses it and puts its folder in the field.
class TargetDialog final : public SetupDialog {
 public:
  TargetDialog(const FolderChooser& chooser, const std::vector<FoundProgram>& found)
      : SetupDialog(IDD_TARGET_PROGRAM, {IDC_CHART_FS2002, IDC_CHART_FS2004, IDC_RADAR},
                    IDC_TARGET_FOLDER, kTargetFound, chooser),
        found_(found) {}

 protected:
  // The radio buttons are in the order of the choices 1, 2 and 3.
  DialogAnswer Answer(int place, const std::string& text) const override {
    return CheckTargetProgramAnswer(static_cast<TargetProgramChoice>(place), text, WorkingFolder());
  }
  fs::path TypedFolder(const std::string& text) const override {
    return platform::ResolveTypedPath(text, WorkingFolder(), {});
  }
  void Opened() override {
    std::vector<std::string> rows;
    for (const FoundProgram& program : found_) rows.push_back(FoundProgramLabel(program));
    ShowFound(rows);
  }
  void FoundChosen(int row) override {
    Choose(static_cast<int>(found_[static_cast<std::size_t>(row)].choice));
    SetFieldText(Wide(found_[static_cast<std::size_t>(row)].folder));
  }

 private:
  const std::vector<FoundProgram>& found_;
};

// The installs of both versions found as the dialog opens
// (OfferSimulatorInstalls) are listed under its own controls; a click on one
// chooses its version and puts its folder in the field. Choosing a version
// fills in its one install (LookForSimulatorInstalls) unless the user typed
// something else there.
class SimulatorDialog final : public SetupDialog {
 public:
  SimulatorDialog(const FolderChooser& chooser, fs::path target_folder, SimulatorOffer offer)
      : SetupDialog(IDD_SIMULATOR, {IDC_FS2002, IDC_FS2004}, IDC_SIMULATOR_FOLDER, kSimulatorFound,
                    chooser),
        target_folder_(std::move(target_folder)),
        offer_(std::move(offer)) {}

 protected:
  // A relative folder is taken from the target folder, where the program
  // stands when it asks for the simulator.
  DialogAnswer Answer(int place, const std::string& text) const override {
    return CheckSimulatorAnswer(SimulatorAtPlace(place), text, RelativeBase(), target_folder_);
  }
  fs::path TypedFolder(const std::string& text) const override {
    return platform::ResolveTypedPath(text, RelativeBase(), target_folder_);
  }
  fs::path BrowseNear() const override { return target_folder_; }
  void Opened() override {
    filled_ = offer_.fill ? offer_.fill->folder : std::string();
    std::vector<std::string> rows;
    for (const SimulatorInstall& install : offer_.listed) {
      rows.push_back(SimulatorInstallLabel(install));
    }
    ShowFound(rows);
  }
  void Chosen(int place) override {
    const FoundInstalls found =
        LookForSimulatorInstalls(SimulatorAtPlace(place), target_folder_, FieldText(), filled_);
    if (found.fill) UseFound(*found.fill);
  }
  void FoundChosen(int row) override {
    const SimulatorInstall& install = offer_.listed[static_cast<std::size_t>(row)];
    UseFound(install.folder);  // first: choosing the version fills in only what it filled
    Choose(PlaceOfSimulator(install.version));
  }

 private:
  fs::path RelativeBase() const {
    return target_folder_.empty() ? WorkingFolder() : target_folder_;
  }

  void UseFound(const std::string& text) {
    SetFieldText(Wide(text));
    filled_ = text;
  }

  const fs::path target_folder_;
  const SimulatorOffer offer_;
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

void WinStartupView::OfferTargets(const std::vector<FoundProgram>& found) {
  offered_targets_ = found;
}

std::optional<fs::path> WinStartupView::AskTargetFolder() {
  TargetDialog dialog(chooser_, offered_targets_);
  std::optional<fs::path> folder =
      dialog.Ask(owner_, static_cast<int>(prefilled_choice_), prefilled_folder_.wstring());
  if (!folder) return std::nullopt;
  accepted_choice_ = static_cast<TargetProgramChoice>(dialog.AcceptedPlace());
  target_folder_ = *folder;
  return folder;
}

// The simulator is looked for, and a relative answer taken, in the target
// program's folder. The dialog opens with the recorded simulator, or with
// the one install found when none is recorded.
std::optional<SimulatorChoice> WinStartupView::AskSimulator(const SimulatorChoice& recorded) {
  SimulatorOffer offer = OfferSimulatorInstalls(recorded, target_folder_);
  const FsVersion version = offer.fill ? offer.fill->version : recorded.version;
  const std::wstring folder_text =
      offer.fill ? Wide(offer.fill->folder) : recorded.folder.wstring();
  SimulatorDialog dialog(chooser_, target_folder_, std::move(offer));
  const std::optional<fs::path> folder = dialog.Ask(owner_, PlaceOfSimulator(version), folder_text);
  if (!folder) return std::nullopt;
  return SimulatorChoice{SimulatorAtPlace(dialog.AcceptedPlace()), *folder};
}

void WinStartupView::ShowMessage(std::string_view text, MessageTitle title) {
  const std::string program = Utf8(ProgramName());
  ShowMessageBox(owner_, Wide(MessageTitleText(title, program)), Wide(text));
}

}  // namespace tarnvale::win
