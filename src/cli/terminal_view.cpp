// The run's window drawn on a terminal: status texts and messages as lines, and a progress bar of
// 50 columns on standard error.

#include "cli/terminal_view.h"

#include <algorithm>
#include <iostream>

#include "platform/system.h"

namespace tarnvale::cli {
namespace {

constexpr int kBarColumns = 50;

}  // namespace

TerminalView TerminalView::ForProcess() {
  return TerminalView(std::cout, platform::StandardErrorIsTerminal() ? &std::cerr : nullptr);
}

// An empty status text only clears the window's field: nothing to print.
void TerminalView::SetStatusText(const std::string& text) {
  if (!text.empty()) Line(text);
}

void TerminalView::SetProgressRange(std::int32_t low, std::int32_t high) {
  low_ = low;
  high_ = high;
  SetProgressPosition(position_);
}

void TerminalView::SetProgressPosition(std::int32_t position) {
  position_ = std::clamp(position, low_, std::max(low_, high_));
  if (bar_ && FilledColumns() != drawn_columns_) DrawBar();
}

void TerminalView::Line(std::string_view text) {
  const bool had_bar = drawn_columns_ >= 0;
  ClearBar();
  out_ << text << '\n' << std::flush;
  if (had_bar) DrawBar();
}

void TerminalView::ClearBar() {
  if (!bar_ || drawn_columns_ < 0) return;
  *bar_ << "\r\033[K" << std::flush;
  drawn_columns_ = -1;
}

void TerminalView::DrawBar() {
  drawn_columns_ = FilledColumns();
  *bar_ << "\r[" << std::string(drawn_columns_, '#')
        << std::string(kBarColumns - drawn_columns_, ' ') << "] " << position_ - low_ << '/'
        << high_ - low_ << std::flush;
}

int TerminalView::FilledColumns() const {
  if (high_ <= low_) return 0;
  const std::int64_t done = static_cast<std::int64_t>(position_ - low_) * kBarColumns;
  return static_cast<int>(done / (high_ - low_));
}

}  // namespace tarnvale::cli
