// The Windows main window: its dialog procedure, the buttons and menu, the last run, the RunView
// calls posted to its thread, and halting the run when it closes.

#include "win/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "app/report_archive.h"
#include "app/scenery_manifest.h"
#include "app/startup.h"
#include "win/about_box.h"
#include "win/dialog_fit.h"
#include "win/report_windows.h"
#include "win/resource.h"
#include "win/win_text.h"

namespace tarnvale::win {
namespace {

// The window's first height, and the last run's group beneath it, in
// dialog units.
constexpr int kMainHeight = 167;
constexpr int kLastRunTop = 163;
constexpr int kLastRunTextTop = kLastRunTop + 12;
constexpr int kLastRunBottomMargin = 6;

}  // namespace

void WindowMessages::Attach(HWND window) {
  window_ = window;
  thread_ = GetWindowThreadProcessId(window, nullptr);
}

bool WindowMessages::IsCurrent() const { return GetCurrentThreadId() == thread_; }

void WindowMessages::Post(std::function<void()> call) {
  auto* carried = new std::function<void()>(std::move(call));
  if (!PostMessageW(window_, kCallMessage, 0, reinterpret_cast<LPARAM>(carried))) delete carried;
}

void WindowMessages::RunPosted() {
  MSG message;
  while (window_ != nullptr &&
         PeekMessageW(&message, window_, kCallMessage, kCallMessage, PM_REMOVE)) {
    Run(message.lParam);
  }
}

void WindowMessages::Run(LPARAM call) {
  const std::unique_ptr<std::function<void()>> carried(
      reinterpret_cast<std::function<void()>*>(call));
  (*carried)();
}

// The RunView operations applied to the window's controls, on its thread.
class MainWindow::Controls final : public RunView {
 public:
  Controls(std::function<void()> close_window, std::function<void(const RunSummary&)> run_ended)
      : close_window_(std::move(close_window)), run_ended_(std::move(run_ended)) {}

  void Attach(HWND window) {
    window_ = window;
    tooltips_ = CreateTooltips(window);
    SendDlgItemMessageW(window, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, 100);
  }
  HWND Tooltips() const { return tooltips_; }

  // A long area title keeps its start and end; the tooltip has all of it.
  void SetStatusText(const std::string& text) override {
    SetElidedText(GetDlgItem(window_, IDC_STATUS_FIELD), tooltips_, {}, Wide(text));
  }
  // Positions stay within the range: a native bar would start over when
  // stepped past its end.
  void SetProgressRange(std::int32_t low, std::int32_t high) override {
    Bar(PBM_SETRANGE32, low, std::max(low, high));
    SetProgressPosition(Position());
  }
  void SetProgressStep(std::int32_t step) override { step_ = step; }
  void SetProgressPosition(std::int32_t position) override {
    PBRANGE range{};
    Bar(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    Bar(PBM_SETPOS, std::clamp(position, range.iLow, std::max(range.iLow, range.iHigh)), 0);
  }
  void StepProgress() override {
    SetProgressPosition(static_cast<std::int32_t>(
        std::clamp<long long>(static_cast<long long>(Position()) + step_, INT32_MIN, INT32_MAX)));
  }
  void EnableCreateButton(bool enabled) override { Enable(IDC_CREATE, enabled); }
  void EnableCancelButton(bool enabled) override { Enable(IDC_CANCEL_RUN, enabled); }
  void ShowMessage(const std::string& text) override {
    ShowMessageBox(window_, ProgramName(), Wide(text));
  }
  // The message, then the records and what the run read; its Details
  // button shows the whole report. Once it is closed the run's account
  // stays under the buttons.
  void ShowRunEnding(const std::string& text, const RunSummary& summary) override {
    ShowRunEndingMessage(window_, text, summary);
    run_ended_(summary);
  }
  void CloseMainWindow() override { close_window_(); }

 private:
  LRESULT Bar(UINT message, WPARAM wparam, LPARAM lparam) const {
    return SendDlgItemMessageW(window_, IDC_PROGRESS_BAR, message, wparam, lparam);
  }
  std::int32_t Position() const { return static_cast<std::int32_t>(Bar(PBM_GETPOS, 0, 0)); }

  // A button that loses its focus by being disabled hands it on.
  void Enable(int id, bool enabled) const {
    const HWND button = GetDlgItem(window_, id);
    if (!enabled && GetFocus() == button) SendMessageW(window_, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(button, enabled);
  }

  std::function<void()> close_window_;
  std::function<void(const RunSummary&)> run_ended_;
  HWND window_ = nullptr;
  HWND tooltips_ = nullptr;
  std::int32_t step_ = 10;  // the bar's step until a run sets its own
};

MainWindow::MainWindow(ProgramState& state, WinStartupView& setup, TargetMemory& memory)
    : state_(state),
      setup_(setup),
      memory_(memory),
      controls_(std::make_unique<Controls>([this] { CloseWindow(); },
                                           [this](const RunSummary& run) { OnRunEnded(run); })),
      posted_view_(std::make_unique<PostedRunView>(messages_, *controls_, state.worker)),
      run_view_(posted_view_.get()) {}

// Halts a run still going, as closing does.
MainWindow::~MainWindow() {
  if (!closing_) StopRun();
}

RunView& MainWindow::WindowView() { return *posted_view_; }

void MainWindow::Run() {
  closing_ = false;
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN_WINDOW), nullptr, Procedure,
                  reinterpret_cast<LPARAM>(this));
  setup_.SetOwner(nullptr);
}

INT_PTR CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    reinterpret_cast<MainWindow*>(lparam)->Open(window);
    return TRUE;
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  switch (message) {
    case WindowMessages::kCallMessage:
      WindowMessages::Run(lparam);
      return TRUE;
    case WM_COMMAND:
      self->OnCommand(LOWORD(wparam));
      return TRUE;
    case WM_INITMENUPOPUP:
      self->OnMenuOpened(reinterpret_cast<HMENU>(wparam));
      return TRUE;
    case WM_DPICHANGED:  // on another display: its icon and the room for the lines
      SetApplicationIcon(window);
      PostMessageW(window, WindowMessages::kShowSetupMessage, 0, 0);
      return FALSE;
    case WindowMessages::kShowSetupMessage:
      self->ShowSetup();
      return TRUE;
    case WM_DESTROY:
      self->messages_.RunPosted();  // frees what the worker still had on its way
      return FALSE;
    default:
      return FALSE;
  }
}

void MainWindow::Open(HWND window) {
  messages_.Attach(window);
  controls_->Attach(window);
  setup_.SetOwner(window);
  SetApplicationIcon(window);
  FillCodePageMenu();
  FitDialogToTexts(window);
  ShowSetup();
  LoadKeptRun();
}

void MainWindow::OnCommand(int id) {
  switch (id) {
    case IDC_CREATE:
      if (IsWindowEnabled(GetDlgItem(messages_.Window(), IDC_CREATE))) {
        // A refused start has shown its message and left the window as it was.
        static_cast<void>(StartCreationRun(state_, *run_view_));
      }
      break;
    case IDC_CANCEL_RUN:
      RequestCancel(state_, *posted_view_);
      break;
    case IDM_CHANGE_SETUP:
      OnChangeSetup();
      break;
    case IDM_SHOW_LAST_REPORT:
      if (last_run_) ShowReport(messages_.Window(), RunDetailsText(*last_run_));
      break;
    case IDM_ABOUT:
      ShowAboutBox(messages_.Window());
      break;
    case IDM_EXIT:
    case IDCANCEL:  // the close box and Escape
      CloseWindow();
      break;
    default:
      if (const std::size_t item = static_cast<std::size_t>(id - IDM_CODE_PAGE_FIRST);
          id >= IDM_CODE_PAGE_FIRST && item < CodePageItems().size()) {
        static_cast<void>(ChooseCodePage(state_, CodePageItems()[item].code_page, memory_));
      }
      break;
  }
}

void MainWindow::ShowSetup() {
  const HWND window = messages_.Window();
  for (const auto& [id, line] : {std::pair(IDC_PROGRAM_LINE, ProgramLine(state_)),
                                 std::pair(IDC_SIMULATOR_LINE, SimulatorLine(state_))}) {
    SetElidedText(GetDlgItem(window, id), controls_->Tooltips(), Wide(line.head), Wide(line.rest));
  }
}

void MainWindow::ShowLastRun() {
  const HWND window = messages_.Window();
  std::string lines;
  for (const std::string& line : LastRunBoxLines(last_run_, scenery_notice_)) {
    lines += (lines.empty() ? "" : "\n") + line;
  }
  const int show = lines.empty() ? SW_HIDE : SW_SHOW;
  ShowWindow(GetDlgItem(window, IDC_LAST_RUN_GROUP), show);
  ShowWindow(GetDlgItem(window, IDC_LAST_RUN_TEXT), show);
  if (lines.empty()) {
    SetClientHeight(window, kMainHeight);
    return;
  }
  const std::wstring text = WithCrLf(lines);
  const HWND field = GetDlgItem(window, IDC_LAST_RUN_TEXT);
  RECT room{};
  GetClientRect(field, &room);
  const auto margins = static_cast<DWORD>(SendMessageW(field, EM_GETMARGINS, 0, 0));
  const int width = room.right - LOWORD(margins) - HIWORD(margins);
  const int height = HeightInUnits(window, TextSize(field, text, width).cy);
  SetControlText(window, IDC_LAST_RUN_TEXT, text);
  PlaceControl(window, IDC_LAST_RUN_TEXT, 13, kLastRunTextTop, 259, height);
  const int bottom = kLastRunTextTop + height + kLastRunBottomMargin;
  PlaceControl(window, IDC_LAST_RUN_GROUP, 7, kLastRunTop, 271, bottom - kLastRunTop);
  SetClientHeight(window, bottom + 7);
}

void MainWindow::OnRunEnded(const RunSummary& summary) {
  last_run_ = summary;
  scenery_notice_.clear();
  ShowLastRun();
}

void MainWindow::LoadKeptRun() {
  last_run_ = LastKeptRun(state_.report_archive, state_.TargetFolder);
  scenery_notice_ = SceneryChangeNotice(state_);
  ShowLastRun();
}

// The code pages offered, in place of the script's one empty entry.
void MainWindow::FillCodePageMenu() {
  const HMENU file = GetSubMenu(GetMenu(messages_.Window()), 0);
  for (int at = 0; at < GetMenuItemCount(file); ++at) {
    const HMENU pages = GetSubMenu(file, at);
    if (pages == nullptr || GetMenuItemID(pages, 0) != IDM_CODE_PAGE_FIRST) continue;
    DeleteMenu(pages, 0, MF_BYPOSITION);
    for (std::size_t item = 0; item < CodePageItems().size(); ++item) {
      AppendMenuW(pages, MF_STRING, IDM_CODE_PAGE_FIRST + item,
                  Wide(CodePageItems()[item].label).c_str());
    }
  }
}

// Change and the code pages are offered only while the window waits for
// Create; the code page the next run reads in is checked.
void MainWindow::OnMenuOpened(HMENU menu) {
  const UINT idle = MF_BYCOMMAND | (Idle() ? MF_ENABLED : MF_GRAYED);
  EnableMenuItem(menu, IDM_CHANGE_SETUP, idle);
  EnableMenuItem(menu, IDM_SHOW_LAST_REPORT, MF_BYCOMMAND | (last_run_ ? MF_ENABLED : MF_GRAYED));
  const std::vector<CodePageItem>& items = CodePageItems();
  for (std::size_t item = 0; item < items.size(); ++item) {
    EnableMenuItem(menu, IDM_CODE_PAGE_FIRST + item, idle);
    if (items[item].code_page == platform::ActiveCodePage()) {
      CheckMenuRadioItem(menu, IDM_CODE_PAGE_FIRST, IDM_CODE_PAGE_FIRST + items.size() - 1,
                         IDM_CODE_PAGE_FIRST + item, MF_BYCOMMAND);
    }
  }
}

// Create is enabled again by every ending of a run, just before its
// message: with the message answered, the run's thread is only finishing.
bool MainWindow::Idle() const {
  return CanChangeSetup(state_) || IsWindowEnabled(GetDlgItem(messages_.Window(), IDC_CREATE));
}

void MainWindow::OnChangeSetup() {
  if (!Idle()) return;
  state_.worker.Join();
  if (ChangeDesktopSetup(state_, setup_, memory_)) {
    ShowSetup();
    LoadKeptRun();
  }
}

void MainWindow::CloseWindow() {
  if (closing_) return;
  StopRun();
  EndDialog(messages_.Window(), 0);
}

// What the worker still had on its way to the window is dropped: the run is
// halted where it stands, drops what it staged and leaves the old set whole.
void MainWindow::StopRun() {
  closing_ = true;
  posted_view_->DropPendingCalls();
  HaltForClose(state_, *posted_view_);
}

}  // namespace tarnvale::win
