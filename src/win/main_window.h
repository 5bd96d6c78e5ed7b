// The main window: explains what the program does, names the program and
// simulator the next run serves and reads, starts and cancels the creation
// run and shows its progress, and keeps the last run's account under its
// buttons ("File" > "Show Last Report..." opens its Details). The run
// reports from its worker thread by messages posted to the window
// (PostedRunView). "File" > "Code Page" chooses the code page of the next
// runs.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "app/desktop_session.h"
#include "app/posted_run_view.h"
#include "app/program_state.h"
#include "platform/windows_system.h"
#include "win/setup_dialogs.h"

namespace tarnvale::win {

// The thread of a window, reached by messages posted to it.
class WindowMessages final : public WindowThread {
 public:
  // The message that carries a posted call.
  static constexpr UINT kCallMessage = WM_APP + 1;
  // Asks the window to lay out the lines naming its program and simulator
  // again, once the system has resized it.
  static constexpr UINT kShowSetupMessage = WM_APP + 2;

  void Attach(HWND window);
  HWND Window() const { return window_; }
  bool IsCurrent() const override;
  void Post(std::function<void()> call) override;
  void RunPosted() override;
  // Runs the call that a kCallMessage carries.
  static void Run(LPARAM call);

 private:
  HWND window_ = nullptr;
  DWORD thread_ = GetCurrentThreadId();
};

class MainWindow {
 public:
  // "Change Program or Simulator..." asks through `setup` and keeps the
  // answer in `memory`.
  MainWindow(ProgramState& state, WinStartupView& setup, TargetMemory& memory);
  ~MainWindow();

  // Shows the window until it closes.
  void Run();

  // Lets the next runs report through `view` (which forwards to
  // WindowView) instead, for tests that hold a run at a chosen step.
  RunView& WindowView();
  void ReportRunsThrough(RunView& view) { run_view_ = &view; }

 private:
  class Controls;
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Open(HWND window);
  void OnCommand(int id);
  void ShowSetup();
  // The last run's lines under the buttons, the window growing to hold
  // them; nothing there before the first run.
  void ShowLastRun();
  void OnRunEnded(const RunSummary& summary);
  // The last run kept for the program the window serves, after a start or
  // a Change.
  void LoadKeptRun();
  void FillCodePageMenu();
  void OnMenuOpened(HMENU menu);
  // True while the window waits for Create.
  bool Idle() const;
  void OnChangeSetup();
  void CloseWindow();
  void StopRun();

  ProgramState& state_;
  WinStartupView& setup_;
  TargetMemory& memory_;
  WindowMessages messages_;
  std::unique_ptr<Controls> controls_;
  std::unique_ptr<PostedRunView> posted_view_;
  RunView* run_view_ = nullptr;
  std::optional<RunSummary> last_run_;
  std::vector<std::string> scenery_notice_;  // shown above the last run until the next run
  bool closing_ = false;
};

}  // namespace tarnvale::win
