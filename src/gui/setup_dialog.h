// What the two setup dialogs share: radio buttons for the choice, a folder
// field with a "Browse..." button, and an "Ok" that either accepts the
// answer or shows why not and stays open. Closing them any other way leaves
// them unaccepted.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <vector>

#include "app/desktop_session.h"
#include "gui/fixed_dialog.h"
#include "gui/message_presenter.h"

class QLineEdit;
class QRadioButton;

namespace tarnvale::gui {

class SetupDialog : public FixedDialog {
 public:
  // The full path of the folder that the last "Ok" accepted.
  const std::filesystem::path& AcceptedFolder() const { return accepted_folder_; }

  // Asks the user for a folder, starting in `start`; empty when none was
  // chosen. A folder chooser by default; tests put their own answer here.
  using FolderChooser = std::function<QString(QWidget* parent, const QString& start)>;
  void SetFolderChooser(FolderChooser chooser) { choose_folder_ = std::move(chooser); }

 protected:
  SetupDialog(MessagePresenter& presenter, const QString& title, QSize client_size,
              QWidget* parent);

  QRadioButton* AddRadioButton(const QString& text, int x, int y, int width, int height);
  QLineEdit* AddFolderField(int x, int y, int width, int height);
  // Chooses a folder into the folder field, starting at the folder its text
  // names (or the nearest one above it that exists), else the home folder.
  void AddBrowseButton(int x, int y, int width, int height);
  void AddOkButton(int x, int y, int width, int height);

  // What the next openings show: the radio button at 1-based `place` (0:
  // none) checked, and `folder` in the folder field.
  void Prefill(int place, const QString& folder);

  // 0 when no radio button is checked, else the 1-based place of the checked one.
  int CheckedRadioButton() const;
  QString FolderText() const;

  // The verdict on the current choice and folder text.
  virtual DialogAnswer Answer() const = 0;
  // The folder that the folder field's text names, for "Browse..." to start
  // in; empty when it names none.
  virtual std::filesystem::path TypedFolder() const = 0;

  // Opening shows the prefilled answer (none at first) with nothing accepted.
  void showEvent(QShowEvent* event) override;

 private:
  void OnOk();
  void OnBrowse();

  MessagePresenter& presenter_;
  std::vector<QRadioButton*> radio_buttons_;
  QLineEdit* folder_field_ = nullptr;
  std::filesystem::path accepted_folder_;
  int prefilled_place_ = 0;
  QString prefilled_folder_;
  FolderChooser choose_folder_;
};

}  // namespace tarnvale::gui
