// A RunView for tests that hold a creation run at a chosen step: it
// forwards every call to the window's view and holds the worker right after
// the first call named `hold_at` (as "stepit" or "status:<text>") until
// released or halted.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <utility>

#include "app/run_view.h"
#include "app/run_worker.h"

namespace tarnvale::testing {

class HoldingView final : public ForwardingRunView {
 public:
  HoldingView(RunView& window, const RunWorker& worker, std::string hold_at)
      : ForwardingRunView(window), worker_(worker), hold_at_(std::move(hold_at)) {}

  void SetStatusText(const std::string& text) override {
    ForwardingRunView::SetStatusText(text);
    After("status:" + text);
  }
  void StepProgress() override {
    ForwardingRunView::StepProgress();
    After("stepit");
  }

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

  const RunWorker& worker_;
  const std::string hold_at_;
  mutable std::mutex mutex_;
  std::condition_variable_any changed_;
  bool holding_ = false;
  bool released_ = false;
};

}  // namespace tarnvale::testing
