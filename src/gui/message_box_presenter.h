// The messages of the windows as the user sees them: a QMessageBox with an
// OK button only and no icon; the message at the end of a run also has a
// Details button that opens the whole report.
#pragma once

#include "gui/message_presenter.h"

namespace tarnvale::gui {

class MessageBoxPresenter final : public MessagePresenter {
 public:
  void Show(QWidget* owner, const QString& title, const QString& text) override;
  void ShowWithReport(QWidget* owner, const QString& title, const QString& text,
                      const QString& summary, const QString& details) override;
};

}  // namespace tarnvale::gui
