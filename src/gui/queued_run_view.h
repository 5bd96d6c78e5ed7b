// Carries RunView calls from the worker thread to the window's thread.
//
// Calls from the worker are queued to the window and applied there in the
// order issued. ShowMessage waits until the user has dismissed the message,
// or until a halt of the worker is requested, so that a window that halts
// the worker while a message is still on its way never waits for itself.
// Calls made on the window's own thread first apply whatever the worker
// issued before them, then take effect at once.
#pragma once


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
  void CloseMainWindow() override;

 private:
  template <typename Call>
  void Deliver(Call call);
  bool OnWindowThread() const;

  QObject* window_;
  RunView& target_;
  const RunWorker& worker_;
  bool dropping_ = false;  // read and written on the window's thread only
};

}  // namespace tarnvale::gui
