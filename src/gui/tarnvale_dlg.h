// The main window: explains what the program does, names the program and
// simulator the next run serves and reads, starts and cancels the creation
// run, and shows its progress. It carries the run's RunView.
#pragma once

#include <QIcon>
#include <functional>
#include <optional>

#include "app/program_state.h"
#include "app/run_summary.h"
#include "app/run_view.h"
#include "gui/fixed_dialog.h"
#include "gui/message_presenter.h"
#include "gui/queued_run_view.h"
#include "gui/widget_run_view.h"
#include "platform/code_page.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;

namespace tarnvale::gui {

class About_Program;
class ElidedLabel;

class TarnvaleDlg final : public FixedDialog {
 public:
  TarnvaleDlg(ProgramState& state, MessagePresenter& presenter, QWidget* parent = nullptr);
  ~TarnvaleDlg() override;  // halts a run still going, as closing does

  // The view that takes the run's calls from any thread.
  RunView& WindowView() { return queued_view_; }
  // Lets the next runs report through `view` (which forwards to WindowView)
  // instead, for tests that hold a run at a chosen step.
  void ReportRunsThrough(RunView& view) { run_view_ = &view; }

  // What "File" > "Change Program or Simulator..." does (the entry is
  // disabled without it, and while a run is going); true when the program
  // or simulator changed.
  void SetChangeSetup(std::function<bool()> change) { change_setup_ = std::move(change); }

  // What "File" > "Code Page" does with the code page chosen (the entries
  // are disabled without it, and while a run is going).
  void SetChooseCodePage(std::function<void(platform::CodePage)> choose) {
    choose_code_page_ = std::move(choose);
  }

  // Shows the program, simulator and folders the next run uses, and the
  // last run kept for that folder.
  void ShowSetup();

  // Keeps `summary` on show as the last run, behind "Show Last Report".
  void ShowLastRun(const RunSummary& summary);
  void ShowLastRunBox();

  // The window's close box, Escape and "File" > "Exit" all end here.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  RunControls AddControls();
  // A line that names the program or simulator of the next run.
  ElidedLabel* AddSetupLine(const char* name, int y);
  QMenuBar* AddMenu();
  void AddCodePageMenu(QMenu* file);
  void AddLastRunBox();
  void OnShowLastReport();
  void OnChangeSetup();
  void OnCreate();
  void OnCancel();
  void CloseWindow();
  void StopRun();

  ProgramState& state_;
  About_Program* about_;
  ElidedLabel* program_line_ = nullptr;
  ElidedLabel* simulator_line_ = nullptr;
  QAction* change_action_ = nullptr;
  QAction* last_report_action_ = nullptr;
  QMenu* code_page_menu_ = nullptr;
  QGroupBox* last_run_group_ = nullptr;
  QLabel* last_run_text_ = nullptr;
  std::optional<RunSummary> last_run_;
  std::vector<std::string> scenery_notice_;  // shown above the last run until the next run
  MessagePresenter& presenter_;
  std::function<bool()> change_setup_;
  std::function<void(platform::CodePage)> choose_code_page_;
  WidgetRunView widget_view_;
  QueuedRunView queued_view_;
  RunView* run_view_;
  bool closing_ = false;
};

// The window's icon, large and small.
QIcon ApplicationIcon();

}  // namespace tarnvale::gui
