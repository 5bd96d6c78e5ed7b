// The RunView operations applied to the main window's controls. Called on
// the window's thread only; QueuedRunView brings the worker's calls there.
#pragma once

#include <functional>

#include "app/run_view.h"
#include "gui/message_presenter.h"

class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace tarnvale::gui {

struct RunControls {
  QWidget* window = nullptr;  // owns the messages
  QLineEdit* status_field = nullptr;
  QProgressBar* progress_bar = nullptr;
  QPushButton* create_button = nullptr;
  QPushButton* cancel_button = nullptr;
};

class WidgetRunView final : public RunView {
 public:
  // `run_ended` is told of each run once its ending message is closed.
  WidgetRunView(const RunControls& controls, MessagePresenter& presenter,
                std::function<void()> close_window,
                std::function<void(const RunSummary&)> run_ended);

  void SetStatusText(const std::string& text) override;
  void SetProgressRange(std::int32_t low, std::int32_t high) override;
  void SetProgressStep(std::int32_t step) override { step_ = step; }
  void SetProgressPosition(std::int32_t position) override;
  void StepProgress() override;
  void EnableCreateButton(bool enabled) override;
  void EnableCancelButton(bool enabled) override;
  void ShowMessage(const std::string& text) override;
  // The message, then the records and what the run read; its Details
  // button shows the whole report (RunDetailsText).
  void ShowRunEnding(const std::string& text, const RunSummary& summary) override;
  void CloseMainWindow() override { close_window_(); }

 private:
  RunControls controls_;
  MessagePresenter& presenter_;
  std::function<void()> close_window_;
  std::function<void(const RunSummary&)> run_ended_;
  std::int32_t step_ = 10;  // the bar's step until a run sets its own
};

}  // namespace tarnvale::gui
