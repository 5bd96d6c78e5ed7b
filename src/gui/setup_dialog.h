// What the two setup dialogs share: radio buttons for the choice, a folder
// field, and an "Ok" that either accepts the answer or shows why not and
// stays open. Closing them any other way leaves them unaccepted.
#pragma once

#include <QString>
#include <filesystem>
#include <vector>

#include "app/startup.h"
#include "gui/fixed_dialog.h"
#include "gui/message_presenter.h"

class QLineEdit;
class QRadioButton;

namespace tarnvale::gui {

class SetupDialog : public FixedDialog {
 public:
  // The full path of the folder that the last "Ok" accepted.
  const std::filesystem::path& AcceptedFolder() const { return accepted_folder_; }

 protected:
  SetupDialog(MessagePresenter& presenter, const QString& title, QSize client_size,
              QWidget* parent);

  QRadioButton* AddRadioButton(const QString& text, int x, int y, int width, int height);
  QLineEdit* AddFolderField(int x, int y, int width, int height);
  void AddOkButton(int x, int y, int width, int height);

  // 0 when no radio button is checked, else the 1-based place of the checked one.
  int CheckedRadioButton() const;
  QString FolderText() const;

  // The verdict on the current choice and folder text.
  virtual DialogAnswer Answer() const = 0;

  // Opening starts afresh: no choice, empty field, nothing accepted.
  void showEvent(QShowEvent* event) override;

 private:
  void OnOk();

  MessagePresenter& presenter_;
  std::vector<QRadioButton*> radio_buttons_;
  QLineEdit* folder_field_ = nullptr;
  std::filesystem::path accepted_folder_;
};

// Relative folder texts are taken against the folder the program started in.
std::filesystem::path WorkingFolder();

}  // namespace tarnvale::gui
