// Modal messages of the windows: an OK button only, no icon; the message at
// the end of a run also has a short summary and a Details button. The
// windows show every message through a presenter so that tests can answer
// them; the real one, a QMessageBox, is MessageBoxPresenter.
#pragma once

#include <QString>
#include <string_view>

class QWidget;

namespace tarnvale::gui {

class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;
  // Shows `text` in a modal message owned by `owner`; returns once the user
  // has dismissed it.
  virtual void Show(QWidget* owner, const QString& title, const QString& text) = 0;
  // Shows `text` with `summary` beneath it, and a Details button that
  // opens the whole report `details` (ReportDialog); returns once the user
  // has dismissed the message.
  virtual void ShowWithReport(QWidget* owner, const QString& title, const QString& text,
                              const QString& summary, const QString& details) = 0;
};

// The title of the program's messages: its name, the base name of the
// executable file.
QString ProgramName();

// One of the program's texts (UTF-8) as shown by Qt.
QString ToQString(std::string_view text);

}  // namespace tarnvale::gui
