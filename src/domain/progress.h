// What the steps of a creation run (binding, writing the database files)
// need of whoever shows the run: a progress bar and a cancel request. The
// run's window (app/run_view.h) extends this with the status text, the
// buttons and messages; a step never touches those.
#pragma once

#include <atomic>
#include <cstdint>

namespace tarnvale {

// Called from the worker thread; implementations apply the calls in the
// order issued.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void SetProgressRange(std::int32_t low, std::int32_t high) = 0;
  virtual void SetProgressStep(std::int32_t step) = 0;
  virtual void SetProgressPosition(std::int32_t position) = 0;
  virtual void StepProgress() = 0;
};

// Progress shown nowhere: for the fuzz entries and the benchmarks, which
// bind outside a run's window.
class SilentProgress final : public ProgressView {
 public:
  void SetProgressRange(std::int32_t, std::int32_t) override {}
  void SetProgressStep(std::int32_t) override {}
  void SetProgressPosition(std::int32_t) override {}
  void StepProgress() override {}
};

// The "Cancel Database Creation" request, set by the window's thread and
// tested by the worker at its check points.
using CancelFlag = std::atomic<bool>;

}  // namespace tarnvale
