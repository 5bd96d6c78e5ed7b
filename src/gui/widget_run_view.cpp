// The run's view on the Qt main window's controls: status line, progress bar, buttons and the
// end-of-run message.

#include "gui/widget_run_view.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <algorithm>
#include <utility>

#include "app/desktop_session.h"
#include "gui/elided_text.h"

namespace tarnvale::gui {
namespace {

QString SummaryText(const RunSummary& summary) {
  QStringList lines;
  for (const std::string& line : RunEndingSummary(summary)) lines << ToQString(line);
  return lines.join('\n');
}

}  // namespace

WidgetRunView::WidgetRunView(const RunControls& controls, MessagePresenter& presenter,
                             std::function<void()> close_window,
                             std::function<void(const RunSummary&)> run_ended)
    : controls_(controls),
      presenter_(presenter),
      close_window_(std::move(close_window)),
      run_ended_(std::move(run_ended)) {}

// A long area title keeps its start and end; the tooltip has all of it.
void WidgetRunView::SetStatusText(const std::string& text) {
  SetElidedText(controls_.status_field, QString::fromStdString(text));
}

// Like a native progress bar, the position is kept within the new range
// (QProgressBar would fall back to "no position" instead).
void WidgetRunView::SetProgressRange(std::int32_t low, std::int32_t high) {
  QProgressBar* bar = controls_.progress_bar;
  const int position = bar->value();
  bar->setRange(low, std::max(low, high));
  bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
}

void WidgetRunView::SetProgressPosition(std::int32_t position) {
  QProgressBar* bar = controls_.progress_bar;
  bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
}

void WidgetRunView::StepProgress() {
  QProgressBar* bar = controls_.progress_bar;
  const long long next = static_cast<long long>(bar->value()) + step_;
  bar->setValue(static_cast<int>(std::clamp<long long>(next, bar->minimum(), bar->maximum())));
}

void WidgetRunView::EnableCreateButton(bool enabled) {
  controls_.create_button->setEnabled(enabled);
}

void WidgetRunView::EnableCancelButton(bool enabled) {
  controls_.cancel_button->setEnabled(enabled);
}

void WidgetRunView::ShowMessage(const std::string& text) {
  presenter_.Show(controls_.window, ProgramName(), QString::fromStdString(text));
}

void WidgetRunView::ShowRunEnding(const std::string& text, const RunSummary& summary) {
  presenter_.ShowWithReport(controls_.window, ProgramName(), QString::fromStdString(text),
                            SummaryText(summary), ToQString(RunDetailsText(summary)));
  run_ended_(summary);
}

}  // namespace tarnvale::gui
