// A RunView that shows nothing: for the fuzz entries and the benchmarks,
// which call binding outside a window.
#pragma once

#include <cstdint>
#include <string>

#include "app/run_view.h"

namespace tarnvale {

class SilentRunView final : public RunView {
 public:
  void SetStatusText(const std::string&) override {}
  void SetProgressRange(std::int32_t, std::int32_t) override {}
  void SetProgressStep(std::int32_t) override {}
  void SetProgressPosition(std::int32_t) override {}
  void StepProgress() override {}
  void EnableCreateButton(bool) override {}
  void EnableCancelButton(bool) override {}
  void ShowMessage(const std::string&) override {}
  void CloseMainWindow() override {}
};

}  // namespace tarnvale
