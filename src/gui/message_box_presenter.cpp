// The windows' messages shown in QMessageBox, with the run's report behind
// a Details button.
#include "gui/message_box_presenter.h"

#include <QMessageBox>
#include <QPushButton>

#include "gui/dialog_layout.h"
#include "gui/report_dialog.h"

namespace tarnvale::gui {
namespace {

// One paragraph per line of `summary`; a line too long for the box wraps
// indented under its start, so that each line stands out.
QString SummaryHtml(const QString& summary) {
  QString html;
  for (const QString& line : summary.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    html += QStringLiteral("<p style=\"margin: 0 0 4px 14px; text-indent: -14px\">") +
            line.toHtmlEscaped() + QStringLiteral("</p>");
  }
  return html;
}

}  // namespace

void MessageBoxPresenter::Show(QWidget* owner, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, owner);
  box.setFont(ScaledFont(box.font()));
  box.exec();
}

// The box closes on any of its buttons: after the report it comes back.
void MessageBoxPresenter::ShowWithReport(QWidget* owner, const QString& title, const QString& text,
                                         const QString& summary, const QString& details) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, owner);
  box.setFont(ScaledFont(box.font()));
  box.setInformativeText(SummaryHtml(summary));
  const QPushButton* details_button =
      box.addButton(QStringLiteral("Details"), QMessageBox::ActionRole);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Ok);
  box.exec();
  while (box.clickedButton() == details_button) {
    ReportDialog report(details, *this, owner);
    report.exec();
    box.exec();
  }
}

}  // namespace tarnvale::gui
