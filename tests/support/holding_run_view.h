// A RunView for tests that hold a creation run at a chosen step: it
// forwards every call to the window's view and holds the worker right after
// the first call named `hold_at` (as "stepit" or "status:<text>") until
// released or halted.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>

#include "app/run_view.h"
#include "app/run_worker.h"

namespace tarnvale::testing {

class HoldingView final : public RunView {
 public:
  HoldingView(RunView& window, const RunWorker& worker, std::string hold_at)
      : window_(window), worker_(worker), hold_at_(std::move(hold_at)) {}

  void SetStatusText(const std::string& text) override {
    window_.SetStatusText(text);
    After("status:" + text);
  }
  void SetProgressRange(std::int32_t low, std::int32_t high) override {
    window_.SetProgressRange(low, high);
  }
  void SetProgressStep(std::int32_t step) override { window_.SetProgressStep(step); }
  void SetProgressPosition(std::int32_t position) override {
    window_.SetProgressPosition(position);
  }
  void StepProgress() override {
    window_.StepProgress();
    After("stepit");
  }
  void EnableCreateButton(bool enabled) override { window_.EnableCreateButton(enabled); }
  void EnableCancelButton(bool enabled) override { window_.EnableCancelButton(enabled); }
  void ShowMessage(const std::string& text) override { window_.ShowMessage(text); }
  void CloseMainWindow() override { window_.CloseMainWindow(); }

  bool Holding() const {
    std::lock_guard lock(mutex_);
    return holding_;
  }
  void Release() {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }

 private:
  void After(const std::string& call) {
    std::unique_lock lock(mutex_);
    if (call != hold_at_ || holding_) return;
    holding_ = true;
    changed_.wait(lock, worker_.StopToken(), [this] { return released_; });
  }

  RunView& window_;
  const RunWorker& worker_;
  const std::string hold_at_;
  mutable std::mutex mutex_;
  std::condition_variable_any changed_;
  bool holding_ = false;
  bool released_ = false;
};

}  // namespace tarnvale::testing
