#include "gui/queued_run_view.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <condition_variable>
#include <memory>
#include <mutex>

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
  QMetaObject::invokeMethod(
      window_,
      [this, call = std::move(call)] {
        if (!dropping_) call();
      },
      Qt::QueuedConnection);
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
  Deliver([this] { target_.StepProgress(); });
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

void QueuedRunView::ShowMessage(const std::string& text) {
  if (OnWindowThread()) {
    Deliver([this, &text] { target_.ShowMessage(text); });
    return;
  }
  auto pending = std::make_shared<PendingMessage>();
  QMetaObject::invokeMethod(
      window_,
      [this, pending, text] {
        {
          std::lock_guard lock(pending->mutex);
          if (pending->abandoned) return;
        }
        if (!dropping_) target_.ShowMessage(text);
        std::lock_guard lock(pending->mutex);
        pending->done = true;
        pending->done_changed.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(pending->mutex);
  pending->done_changed.wait(lock, worker_.StopToken(), [&pending] { return pending->done; });
  pending->abandoned = !pending->done;
}

}  // namespace tarnvale::gui
