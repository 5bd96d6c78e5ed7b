// A RunView that records every call as one line of text, so that tests can
// compare the exact sequence a run issued.
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "app/run_view.h"

namespace tarnvale::testing {

// Calls are recorded as "status:<text>", "range:<low>,<high>", "step:<n>",
// "position:<n>", "stepit", "create:on|off", "cancel:on|off",
// "message:<text>" and "close" (in the default notation). Safe to use from
// the worker thread.
class RecordingRunView : public RunView {
 public:
  // The characters after a call's name and between its arguments.
  struct Notation {
    char after_name = ':';
    char between_arguments = ',';
  };

  RecordingRunView() = default;
  explicit RecordingRunView(Notation notation) : notation_(notation) {}

  void SetStatusText(const std::string& text) override { Record("status", {text}); }
  void SetProgressRange(std::int32_t low, std::int32_t high) override;
  void SetProgressStep(std::int32_t step) override { Record("step", {std::to_string(step)}); }
  void SetProgressPosition(std::int32_t position) override;
  void StepProgress() override { Record("stepit", {}); }
  void EnableCreateButton(bool enabled) override { Record("create", {OnOff(enabled)}); }
  void EnableCancelButton(bool enabled) override { Record("cancel", {OnOff(enabled)}); }
  void ShowMessage(const std::string& text) override { Record("message", {text}); }
  void CloseMainWindow() override { Record("close", {}); }

  // Runs `action` on the calling thread each time `call` has been recorded.
  void OnCall(const std::string& call, std::function<void()> action);

  std::vector<std::string> Calls() const;
  // The recorded calls from the first `call` on (empty when it never came).
  std::vector<std::string> CallsFrom(const std::string& call) const;

 protected:
  // The record itself, read without the lock: only for views used from one
  // thread at a time.
  const std::vector<std::string>& RecordedCalls() const { return calls_; }

 private:
  static std::string OnOff(bool on) { return on ? "on" : "off"; }
  void Record(const std::string& name, std::initializer_list<std::string> arguments);

  const Notation notation_{};
  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
  std::map<std::string, std::function<void()>> actions_;
};

}  // namespace tarnvale::testing
