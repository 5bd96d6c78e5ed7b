// The run's report in a Qt window: read-only, with a find field that moves to the next match and
// Save As to a text file.

#include "gui/report_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "gui/dialog_layout.h"

namespace tarnvale::gui {
namespace {

// The window's first size, in characters of the report's font: room for
// most lines of the report without scrolling sideways.
constexpr int kShownColumns = 110;
constexpr int kShownLines = 32;

// Enter in the find field searches again: no button of the window is
// pressed by it.
QPushButton* AddButton(QBoxLayout* row, const QString& text) {
  auto* button = new QPushButton(text);
  button->setAutoDefault(false);
  row->addWidget(button);
  return button;
}

// Where Save As starts: the user's documents, or home when there are none.
QString SaveFolder() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace

ReportDialog::ReportDialog(const QString& report, MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), report_(report), presenter_(presenter), text_(new QPlainTextEdit(report)) {
  setWindowTitle(ProgramName() + QStringLiteral(" - Report"));
  text_->setObjectName(QStringLiteral("ReportText"));
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  setFont(ScaledFont(font()));
  text_->setFont(ScaledFont(QFontDatabase::systemFont(QFontDatabase::FixedFont)));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(AddFindRow());
  layout->addWidget(text_);
  layout->addLayout(AddButtonRow());
  const QFontMetrics metrics(text_->font());
  resize(metrics.horizontalAdvance(QLatin1Char('x')) * kShownColumns,
         metrics.lineSpacing() * kShownLines);
}

QLayout* ReportDialog::AddFindRow() {
  auto* row = new QHBoxLayout;
  find_field_ = new QLineEdit;
  find_field_->setObjectName(QStringLiteral("FindField"));
  find_field_->setPlaceholderText(QStringLiteral("Text to find, then Enter"));
  find_result_ = new QLabel;
  row->addWidget(new QLabel(QStringLiteral("Find:")));
  row->addWidget(find_field_, 1);
  row->addWidget(find_result_);
  connect(find_field_, &QLineEdit::returnPressed, this, &ReportDialog::FindNext);
  connect(AddButton(row, QStringLiteral("Find Next")), &QPushButton::clicked, this,
          &ReportDialog::FindNext);
  return row;
}

QLayout* ReportDialog::AddButtonRow() {
  auto* row = new QHBoxLayout;
  row->addStretch();
  connect(AddButton(row, QStringLiteral("Save As")), &QPushButton::clicked, this,
          &ReportDialog::SaveAs);
  connect(AddButton(row, QStringLiteral("Close")), &QPushButton::clicked, this, &QDialog::reject);
  return row;
}

void ReportDialog::FindNext() {
  const QString wanted = find_field_->text();
  if (wanted.isEmpty()) return;
  bool found = text_->find(wanted);
  if (!found) {
    text_->moveCursor(QTextCursor::Start);
    found = text_->find(wanted);
  }
  Highlight(found);
}

// The match is marked in colour, and the cursor waits at its end for the
// next search.
void ReportDialog::Highlight(bool found) {
  find_result_->setText(found ? QString() : QStringLiteral("Not found"));
  QList<QTextEdit::ExtraSelection> marks;
  if (found) {
    QTextCursor match = text_->textCursor();
    QTextEdit::ExtraSelection mark{match, {}};
    mark.format.setBackground(QColor(255, 224, 64));  // a marker's yellow
    marks.append(mark);
    match.clearSelection();
    text_->setTextCursor(match);
  }
  text_->setExtraSelections(marks);
}

void ReportDialog::SaveAs() {
  const QString file_name = QFileDialog::getSaveFileName(
      this, QStringLiteral("Save Report As"),
      QDir(SaveFolder()).filePath(QStringLiteral("tarnvale-report.txt")),
      QStringLiteral("Text files (*.txt);;All files (*)"));
  if (file_name.isEmpty()) return;
  QSaveFile file(file_name);
  if (file.open(QIODevice::WriteOnly)) file.write(report_.toUtf8());
  if (!file.commit()) {
    presenter_.Show(this, ProgramName(),
                    QStringLiteral("The report could not be saved to %1: %2")
                        .arg(file_name, file.errorString()));
  }
}

}  // namespace tarnvale::gui
