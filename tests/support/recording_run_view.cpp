// Records every RunView call as a line, and runs the action a test attached to a call.

#include "support/recording_run_view.h"

#include <algorithm>

namespace tarnvale::testing {

void RecordingRunView::SetProgressRange(std::int32_t low, std::int32_t high) {
  Record("range", {std::to_string(low), std::to_string(high)});
}

void RecordingRunView::SetProgressPosition(std::int32_t position) {
  Record("position", {std::to_string(position)});
}

void RecordingRunView::OnCall(const std::string& call, std::function<void()> action) {
  std::lock_guard lock(mutex_);
  actions_[call] = std::move(action);
}

std::vector<std::string> RecordingRunView::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::vector<std::string> RecordingRunView::CallsFrom(const std::string& call) const {
  std::lock_guard lock(mutex_);
  const auto first = std::find(calls_.begin(), calls_.end(), call);
  return {first, calls_.end()};
}

void RecordingRunView::Record(const std::string& name,
                              std::initializer_list<std::string> arguments) {
  std::string call = name;
  char separator = notation_.after_name;
  for (const std::string& argument : arguments) {
    call += separator + argument;
    separator = notation_.between_arguments;
  }
  std::function<void()> action;
  {
    std::lock_guard lock(mutex_);
    calls_.push_back(call);
    const auto found = actions_.find(call);
    if (found != actions_.end()) action = found->second;
  }
  if (action) action();
}

}  // namespace tarnvale::testing
