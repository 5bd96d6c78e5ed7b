// RunView calls posted from the worker thread to the window's thread: progress steps joined into
// batches, and messages that hold the worker until answered.

#include "app/posted_run_view.h"

#include <condition_variable>
#include <mutex>
#include <utility>

namespace tarnvale {
namespace {

// A message handed to the window, which the worker waits on.
struct PendingMessage {
  std::mutex mutex;
  std::condition_variable_any done_changed;
  bool done = false;       // dismissed, or dropped by a closing window
  bool abandoned = false;  // the worker stopped waiting: do not show it
};

}  // namespace

PostedRunView::PostedRunView(WindowThread& window, RunView& target, const RunWorker& worker)
    : window_(window), target_(target), worker_(worker) {}

void PostedRunView::Deliver(std::function<void()> call) {
  if (window_.IsCurrent()) {
    // The worker's earlier calls come first.
    window_.RunPosted();
    call();
    return;
  }
  open_batch_.reset();
  window_.Post([this, call = std::move(call)] {
    if (!dropping_) call();
  });
}

bool PostedRunView::JoinBatch(StepBatch& batch) {
  int steps = batch.steps.load();
  while (steps >= 0) {
    if (batch.steps.compare_exchange_weak(steps, steps + 1)) return true;
  }
  return false;  // already applied: too late to join
}

void PostedRunView::SetStatusText(const std::string& text) {
  Deliver([this, text] { target_.SetStatusText(text); });
}

void PostedRunView::SetProgressRange(std::int32_t low, std::int32_t high) {
  Deliver([this, low, high] { target_.SetProgressRange(low, high); });
}

void PostedRunView::SetProgressStep(std::int32_t step) {
  Deliver([this, step] { target_.SetProgressStep(step); });
}

void PostedRunView::SetProgressPosition(std::int32_t position) {
  Deliver([this, position] { target_.SetProgressPosition(position); });
}

void PostedRunView::StepProgress() {
  if (window_.IsCurrent()) {
    Deliver([this] { target_.StepProgress(); });
    return;
  }
  if (open_batch_ && JoinBatch(*open_batch_)) return;
  auto batch = std::make_shared<StepBatch>();
  Deliver([this, batch] {
    const int steps = batch->steps.exchange(-1);
    for (int step = 0; step < steps; ++step) target_.StepProgress();
  });
  open_batch_ = std::move(batch);
}

void PostedRunView::EnableCreateButton(bool enabled) {
  Deliver([this, enabled] { target_.EnableCreateButton(enabled); });
}

void PostedRunView::EnableCancelButton(bool enabled) {
  Deliver([this, enabled] { target_.EnableCancelButton(enabled); });
}

void PostedRunView::CloseMainWindow() {
  Deliver([this] { target_.CloseMainWindow(); });
}

void PostedRunView::DeliverAndWait(std::function<void()> show) {
  if (window_.IsCurrent()) {
    Deliver(std::move(show));
    return;
  }
  open_batch_.reset();
  auto pending = std::make_shared<PendingMessage>();
  window_.Post([this, pending, show = std::move(show)] {
    {
      std::lock_guard lock(pending->mutex);
      if (pending->abandoned) return;
    }
    if (!dropping_) show();
    std::lock_guard lock(pending->mutex);
    pending->done = true;
    pending->done_changed.notify_all();
  });
  std::unique_lock lock(pending->mutex);
  pending->done_changed.wait(lock, worker_.StopToken(), [&pending] { return pending->done; });
  pending->abandoned = !pending->done;
}

void PostedRunView::ShowMessage(const std::string& text) {
  DeliverAndWait([this, text] { target_.ShowMessage(text); });
}

// The summary is copied: the worker may stop waiting, and its summary go,
// before the window shows the message.
void PostedRunView::ShowRunEnding(const std::string& text, const RunSummary& summary) {
  DeliverAndWait([this, text, summary] { target_.ShowRunEnding(text, summary); });
}

}  // namespace tarnvale
