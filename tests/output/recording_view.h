// The shared RecordingRunView in the notation of the output tests ("range 0 4",
// "position 0", "stepit"), with a hook run on each StepProgress (for
// cancelling part-way).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "support/recording_run_view.h"

namespace tarnvale::testing {

class RecordingView : public RecordingRunView {
 public:
  RecordingView() : RecordingRunView(Notation{' ', ' '}) {
    OnCall("stepit", [this] {
      if (on_step) on_step();
    });
  }

  const std::vector<std::string>& calls = RecordedCalls();
  std::function<void()> on_step;
};

}  // namespace tarnvale::testing
