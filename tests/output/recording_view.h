// A RunView that records every call as a line of text, and can run a hook
// on each StepProgress (for cancelling part-way).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/run_view.h"

namespace tarnvale::testing {

class RecordingView : public RunView {
 public:
  void SetStatusText(const std::string& text) override { calls.push_back("status " + text); }
  void SetProgressRange(std::int32_t low, std::int32_t high) override {
    calls.push_back("range " + std::to_string(low) + " " + std::to_string(high));
  }
  void SetProgressStep(std::int32_t step) override {
    calls.push_back("step " + std::to_string(step));
  }
  void SetProgressPosition(std::int32_t position) override {
    calls.push_back("position " + std::to_string(position));
  }
  void StepProgress() override {
    calls.push_back("stepit");
    if (on_step) on_step();
  }
  void EnableCreateButton(bool enabled) override {
    calls.push_back(enabled ? "create on" : "create off");
  }
  void EnableCancelButton(bool enabled) override {
    calls.push_back(enabled ? "cancel on" : "cancel off");
  }
  void ShowMessage(const std::string& text) override { calls.push_back("message " + text); }
  void CloseMainWindow() override { calls.push_back("close"); }

  std::vector<std::string> calls;
  std::function<void()> on_step;
};

}  // namespace tarnvale::testing
