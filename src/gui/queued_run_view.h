// Carries RunView calls from the worker thread to the window's thread
// (PostedRunView), posted as queued calls to the window's QObject.
#pragma once

#include "app/posted_run_view.h"

class QObject;

namespace tarnvale::gui {

// The thread of a QObject, reached by queued calls.
class QObjectThread : public WindowThread {
 public:
  explicit QObjectThread(QObject* window) : window_(window) {}
  bool IsCurrent() const override;
  void Post(std::function<void()> call) override;
  void RunPosted() override;

 private:
  QObject* window_;
};

// The thread comes first, so that it is there before the view that uses it.
class QueuedRunView final : private QObjectThread, public PostedRunView {
 public:
  // `window` is the object whose thread applies the calls to `target`;
  // `worker` gives the halt request that ends a wait for a message.
  QueuedRunView(QObject* window, RunView& target, const RunWorker& worker)
      : QObjectThread(window), PostedRunView(*this, target, worker) {}
};

}  // namespace tarnvale::gui
