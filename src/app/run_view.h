// What a creation run needs of the window that shows it.
//
// The run, the binding steps and the database files writer report through
// these operations from the worker thread. Implementations apply them to the
// window in the order issued; ShowMessage returns only once the user has
// dismissed the message, or at once when the worker is being halted (wait on
// RunWorker::StopToken() so that closing the window never deadlocks).
// The window's own handlers (Create, Cancel, close) call them from the
// window's thread too.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace tarnvale {

class RunView {
 public:
  virtual ~RunView() = default;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetProgressRange(std::int32_t low, std::int32_t high) = 0;
  virtual void SetProgressStep(std::int32_t step) = 0;
  virtual void SetProgressPosition(std::int32_t position) = 0;
  virtual void StepProgress() = 0;
  virtual void EnableCreateButton(bool enabled) = 0;
  virtual void EnableCancelButton(bool enabled) = 0;
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void CloseMainWindow() = 0;
};

// The "Cancel Database Creation" request, set by the window's thread and
// tested by the worker at its check points.
using CancelFlag = std::atomic<bool>;

}  // namespace tarnvale
