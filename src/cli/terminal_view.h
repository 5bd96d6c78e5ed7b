// The window of the command line: status texts and messages become lines on
// standard output; the progress bar is drawn on a terminal only.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "app/run_view.h"

namespace tarnvale::cli {

class TerminalView final : public RunView {
 public:
  // `bar` receives the progress bar, or nullptr to draw none.
  TerminalView(std::ostream& out, std::ostream* bar) : out_(out), bar_(bar) {}

  // Standard output for lines; standard error for the bar when it is a terminal.
  static TerminalView ForProcess();

  void SetStatusText(const std::string& text) override;
  void SetProgressRange(std::int32_t low, std::int32_t high) override;
  void SetProgressStep(std::int32_t step) override { step_ = step; }
  void SetProgressPosition(std::int32_t position) override;
  void StepProgress() override { SetProgressPosition(position_ + step_); }
  void EnableCreateButton(bool) override {}
  void EnableCancelButton(bool) override {}
  void ShowMessage(const std::string& text) override { Line(text); }
  void CloseMainWindow() override {}
  std::string SimulatorAskedAgain() const override {
    return "give --simulator DIR and --fs-version 8 or 9 to the next create.";
  }

  // One line on standard output, kept clear of the bar.
  void Line(std::string_view text);
  // Removes the bar from the terminal for good.
  void ClearBar();

 private:
  void DrawBar();
  int FilledColumns() const;

  std::ostream& out_;
  std::ostream* bar_;
  std::int32_t low_ = 0;
  std::int32_t high_ = 100;
  std::int32_t step_ = 10;
  std::int32_t position_ = 0;
  int drawn_columns_ = -1;  // -1: no bar on the screen
};

}  // namespace tarnvale::cli
