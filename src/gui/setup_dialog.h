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

class QGroupBox;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace tarnvale::gui {

class SetupDialog : public FixedDialog {
 public:
  // A choice and folder found on this computer, as listed under the dialog.
  struct FoundItem {
    QString label;
    int place = 0;  // the radio button it checks (0: none)
    QString folder;
  };
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

  // The list of found items beneath the dialog's own controls, `x` and
  // `width` in dialog units, below its first height `client_height`;
  // hidden while it lists nothing.
  void AddFoundList(int x, int width, int client_height);
  // Lists `items`, growing the dialog to hold them; none hides the list and
  // gives the dialog its first height.
  void ShowFound(const std::vector<FoundItem>& items);
  // Checks the item's radio button, then puts its folder into the field.
  // A copy: checking the button may list other items.
  void UseFound(FoundItem item);
  // What the dialog itself last put into the folder field.
  const QString& Filled() const { return filled_; }

  // 0 when no radio button is checked, else the 1-based place of the checked one.
  int CheckedRadioButton() const;
  QString FolderText() const;

  // The verdict on the current choice and folder text.
  virtual DialogAnswer Answer() const = 0;
  // The folder that the folder field's text names, for "Browse..." to start
  // in; empty when it names none.
  virtual std::filesystem::path TypedFolder() const = 0;

  // Opening shows the prefilled answer (none at first) with nothing accepted,
  // and no found items.
  void showEvent(QShowEvent* event) override;
  // Where "Browse..." looks for the programs' folder when the field is blank.
  virtual std::filesystem::path NearFolder() const { return {}; }

 private:
  void OnOk();
  void OnBrowse();

  MessagePresenter& presenter_;
  std::vector<QRadioButton*> radio_buttons_;
  QLineEdit* folder_field_ = nullptr;
  QGroupBox* found_group_ = nullptr;
  QListWidget* found_list_ = nullptr;
  std::vector<FoundItem> found_;
  QString filled_;
  int found_x_ = 0;
  int found_width_ = 0;
  int client_height_ = 0;
  std::filesystem::path accepted_folder_;
  int prefilled_place_ = 0;
  QString prefilled_folder_;
  FolderChooser choose_folder_;
};

}  // namespace tarnvale::gui
