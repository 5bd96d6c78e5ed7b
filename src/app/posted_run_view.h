// Carries RunView calls from the worker thread to the window's thread, for
// any window toolkit: the toolkit only posts a call to its thread
// (WindowThread).
//
// Calls from the worker are posted to the window and applied there in the
// order issued. ShowMessage and ShowRunEnding wait until the user has
// dismissed the message, or until a halt of the worker is requested, so that
// a window that halts the worker while a message is still on its way never
// waits for itself. Calls made on the window's own thread first apply
// whatever the worker posted before them, then take effect at once.
#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "app/run_view.h"
#include "app/run_worker.h"

namespace tarnvale {

// How calls reach a window's thread.
class WindowThread {
 public:
  virtual ~WindowThread() = default;
  // True on the window's own thread.
  virtual bool IsCurrent() const = 0;
  // Runs `call` on the window's thread, after the calls posted before it.
  virtual void Post(std::function<void()> call) = 0;
  // On the window's thread: runs at once the calls posted so far.
  virtual void RunPosted() = 0;
};

class PostedRunView : public RunView {
 public:
  // `worker` gives the halt request that ends a wait for a message.
  PostedRunView(WindowThread& window, RunView& target, const RunWorker& worker);

  // From now on the worker's calls still on their way are dropped: the
  // window is closing.
  void DropPendingCalls() { dropping_ = true; }

  void SetStatusText(const std::string& text) override;
  void SetProgressRange(std::int32_t low, std::int32_t high) override;
  void SetProgressStep(std::int32_t step) override;
  void SetProgressPosition(std::int32_t position) override;
  void StepProgress() override;
  void EnableCreateButton(bool enabled) override;
  void EnableCancelButton(bool enabled) override;
  void ShowMessage(const std::string& text) override;
  void ShowRunEnding(const std::string& text, const RunSummary& summary) override;
  void CloseMainWindow() override;

 private:
  void Deliver(std::function<void()> call);
  // Delivers a call that shows a message, and waits until the window has
  // made it (the message has been dismissed) or a halt is requested.
  void DeliverAndWait(std::function<void()> show);

  // Progress steps the worker issued one after another, applied on the
  // window's thread by one posted call: a world run steps the bar a hundred
  // thousand times, and one posted call each would cost more than the run
  // (and overflow a Windows message queue).
  struct StepBatch {
    std::atomic<int> steps{1};  // -1 once the window has applied them
  };
  static bool JoinBatch(StepBatch& batch);

  WindowThread& window_;
  RunView& target_;
  const RunWorker& worker_;
  bool dropping_ = false;  // read and written on the window's thread only
  // The worker's batch that further steps may join; any other call closes
  // it, so that steps never overtake a call issued after them. Used on the
  // worker's thread only.
  std::shared_ptr<StepBatch> open_batch_;
};

}  // namespace tarnvale
