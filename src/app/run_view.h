// What a creation run needs of the window that shows it.
//
// The run reports through these operations from the worker thread; binding
// and the database files writer see only the progress bar part
// (domain/progress.h, which also holds CancelFlag). Implementations apply
// them to the window in the order issued; ShowMessage returns only once the
// user has dismissed the message, or at once when the worker is being halted
// (wait on RunWorker::StopToken() so that closing the window never
// deadlocks). The window's own handlers (Create, Cancel, close) call them
// from the window's thread too.
#pragma once

#include <cstdint>
#include <string>

#include "app/run_summary.h"
#include "domain/progress.h"

namespace tarnvale {

class RunView : public ProgressView {
 public:
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void EnableCreateButton(bool enabled) = 0;
  virtual void EnableCancelButton(bool enabled) = 0;
  virtual void ShowMessage(const std::string& text) = 0;
  // The message at the end of a run that leaves the window open (success,
  // cancel, failed write), with what the run read. A view that shows no
  // report shows the message alone.
  virtual void ShowRunEnding(const std::string& text, const RunSummary& summary) {
    (void)summary;
    ShowMessage(text);
  }
  virtual void CloseMainWindow() = 0;
  // How this front end asks for the simulator again once a start error has
  // cleared the one Program_Config.cfg recorded: the end of a sentence.
  virtual std::string SimulatorAskedAgain() const {
    return "the next start of the program asks for it again.";
  }
};

// Passes every call on to another view. A view that changes one behaviour
// derives from it and overrides only that; one that drops or redirects
// calls overrides Target.
class ForwardingRunView : public RunView {
 public:
  explicit ForwardingRunView(RunView& target) : target_(target) {}

  void SetStatusText(const std::string& text) override {
    if (RunView* target = Target()) target->SetStatusText(text);
  }
  void SetProgressRange(std::int32_t low, std::int32_t high) override {
    if (RunView* target = Target()) target->SetProgressRange(low, high);
  }
  void SetProgressStep(std::int32_t step) override {
    if (RunView* target = Target()) target->SetProgressStep(step);
  }
  void SetProgressPosition(std::int32_t position) override {
    if (RunView* target = Target()) target->SetProgressPosition(position);
  }
  void StepProgress() override {
    if (RunView* target = Target()) target->StepProgress();
  }
  void EnableCreateButton(bool enabled) override {
    if (RunView* target = Target()) target->EnableCreateButton(enabled);
  }
  void EnableCancelButton(bool enabled) override {
    if (RunView* target = Target()) target->EnableCancelButton(enabled);
  }
  void ShowMessage(const std::string& text) override {
    if (RunView* target = Target()) target->ShowMessage(text);
  }
  void ShowRunEnding(const std::string& text, const RunSummary& summary) override {
    if (RunView* target = Target()) target->ShowRunEnding(text, summary);
  }
  void CloseMainWindow() override {
    if (RunView* target = Target()) target->CloseMainWindow();
  }
  // A question about the front end, not a change to the window: always
  // answered by the view forwarded to.
  std::string SimulatorAskedAgain() const override { return target_.SimulatorAskedAgain(); }

 protected:
  // The view the next call goes to; nullptr drops it.
  virtual RunView* Target() { return &target_; }

 private:
  RunView& target_;
};

}  // namespace tarnvale
