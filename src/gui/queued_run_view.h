// Carries RunView calls from the worker thread to the window's thread.
//
// Calls from the worker are queued to the window and applied there in the
// order issued. ShowMessage and ShowRunEnding wait until the user has dismissed the message,
// or until a halt of the worker is requested, so that a window that halts
// the worker while a message is still on its way never waits for itself.
// Calls made on the window's own thread first apply whatever the worker
// issued before them, then take effect at once.
#pragma once

#include <atomic>
#include <memory>

#include "app/run_view.h"
#include "app/run_worker.h"

class QObject;

namespace tarnvale::gui {

class QueuedRunView final : public RunView {
 public:
  // `window` is the object whose thread applies the calls to `target`;
  // `worker` gives the halt request that ends a wait for a message.
  QueuedRunView(QObject* window, RunView& target, const RunWorker& worker);

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
  template <typename Call>
  void Deliver(Call call);
  // Delivers a call that shows a message, and waits until the window has
  // made it (the message has been dismissed) or a halt is requested.
  template <typename Show>
  void DeliverAndWait(Show show);
  bool OnWindowThread() const;

  // Progress steps the worker issued one after another, applied on the
  // window's thread by one queued call: a world run steps the bar a hundred
  // thousand times, and one queued call each would cost more than the run.
  struct StepBatch {
    std::atomic<int> steps{1};  // -1 once the window has applied them
  };
  static bool JoinBatch(StepBatch& batch);

  QObject* window_;
  RunView& target_;
  const RunWorker& worker_;
  bool dropping_ = false;  // read and written on the window's thread only
  // The worker's batch that further steps may join; any other call closes
  // it, so that steps never overtake a call issued after them. Used on the
  // worker's thread only.
  std::shared_ptr<StepBatch> open_batch_;
};

}  // namespace tarnvale::gui
