// The whole report of a creation run, read-only: a find field that moves
// to the next match (Enter finds the next one), and Save As to keep it in
// a text file.
#pragma once

#include <QDialog>
#include <QString>

#include "gui/message_presenter.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace tarnvale::gui {

class ReportDialog final : public QDialog {
 public:
  // `presenter` shows the message when the report cannot be saved.
  ReportDialog(const QString& report, MessagePresenter& presenter, QWidget* parent = nullptr);

  // Marks the next match of the find field's text after the cursor, and
  // moves the cursor to its end; starts again from the top when there is
  // none below.
  void FindNext();

 private:
  // Asks for a file and writes the report into it, as UTF-8.
  void SaveAs();
  QLayout* AddFindRow();
  QLayout* AddButtonRow();
  void Highlight(bool found);

  const QString report_;
  MessagePresenter& presenter_;
  QPlainTextEdit* text_;
  QLineEdit* find_field_ = nullptr;
  QLabel* find_result_ = nullptr;
};

}  // namespace tarnvale::gui
