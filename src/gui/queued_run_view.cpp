#include "gui/queued_run_view.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>

namespace tarnvale::gui {
namespace {

// A message handed to the window, which the worker waits on.
struct PendingMessage {
  std::mutex mutex;
  std::condition_variable_any done_changed;
  bool done = false;       // dismissed, or dropped by a closing window
  bool abandoned = false;  // the worker stopped waiting: do not show it
};

}  // namespace

QueuedRunView::QueuedRunView(QObject* window, RunView& target, const RunWorker& worker)
    : window_(window), target_(target), worker_(worker) {}

bool QueuedRunView::OnWindowThread() const { return QThread::currentThread() == window_->thread(); }

template <typename Call>
void QueuedRunView::Deliver(Call call) {
  if (OnWindowThread()) {
    // The worker's earlier calls come first.
    QCoreApplication::sendPostedEvents(window_, QEvent::MetaCall);
    call();
    return;
  }
  open_batch_.reset();
  QMetaObject::invokeMethod(
      window_,
      [this, call = std::move(call)] {
        if (!dropping_) call();
      },
      Qt::QueuedConnection);
}

bool QueuedRunView::JoinBatch(StepBatch& batch) {
  int steps = batch.steps.load();
  while (steps >= 0) {
    if (batch.steps.compare_exchange_weak(steps, steps + 1)) return true;
  }
  return false;  // already applied: too late to join
}

void QueuedRunView::SetStatusText(const std::string& text) {
  Deliver([this, text] { target_.SetStatusText(text); });
}

void QueuedRunView::SetProgressRange(std::int32_t low, std::int32_t high) {
  Deliver([this, low, high] { target_.SetProgressRange(low, high); });
}

void QueuedRunView::SetProgressStep(std::int32_t step) {
  Deliver([this, step] { target_.SetProgressStep(step); });
}

void QueuedRunView::SetProgressPosition(std::int32_t position) {
  Deliver([this, position] { target_.SetProgressPosition(position); });
}

void QueuedRunView::StepProgress() {
  if (OnWindowThread()) {
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

void QueuedRunView::EnableCreateButton(bool enabled) {
  Deliver([this, enabled] { target_.EnableCreateButton(enabled); });
}

void QueuedRunView::EnableCancelButton(bool enabled) {
  Deliver([this, enabled] { target_.EnableCancelButton(enabled); });
}

void QueuedRunView::CloseMainWindow() {
  Deliver([this] { target_.CloseMainWindow(); });
}

template <typename Show>
void QueuedRunView::DeliverAndWait(Show show) {
  if (OnWindowThread()) {
    Deliver(std::move(show));
    return;
  }
  open_batch_.reset();
  auto pending = std::make_shared<PendingMessage>();
  QMetaObject::invokeMethod(
      window_,
      [this, pending, show = std::move(show)] {
        {
          std::lock_guard lock(pending->mutex);
          if (pending->abandoned) return;
        }
        if (!dropping_) show();
        std::lock_guard lock(pending->mutex);
        pending->done = true;
        pending->done_changed.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(pending->mutex);
  pending->done_changed.wait(lock, worker_.StopToken(), [&pending] { return pending->done; });
  pending->abandoned = !pending->done;
}

void QueuedRunView::ShowMessage(const std::string& text) {
  DeliverAndWait([this, text] { target_.ShowMessage(text); });
}

// The summary is copied: the worker may stop waiting, and its summary go,
// before the window shows the message.
void QueuedRunView::ShowRunEnding(const std::string& text, const RunSummary& summary) {
  DeliverAndWait([this, text, summary] { target_.ShowRunEnding(text, summary); });
}

}  // namespace tarnvale::gui
