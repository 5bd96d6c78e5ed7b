#include "gui/setup_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <system_error>

namespace tarnvale::gui {

SetupDialog::SetupDialog(MessagePresenter& presenter, const QString& title, QSize client_size,
                         QWidget* parent)
    : FixedDialog(title, client_size, parent), presenter_(presenter) {}

QRadioButton* SetupDialog::AddRadioButton(const QString& text, int x, int y, int width,
                                          int height) {
  auto* radio = new QRadioButton(text, Client());
  Layout().Place(radio, x, y, width, height);
  radio_buttons_.push_back(radio);
  return radio;
}

QLineEdit* SetupDialog::AddFolderField(int x, int y, int width, int height) {
  folder_field_ = new QLineEdit(Client());
  folder_field_->setObjectName(QStringLiteral("FolderField"));
  Layout().Place(folder_field_, x, y, width, height);
  return folder_field_;
}

void SetupDialog::AddOkButton(int x, int y, int width, int height) {
  QPushButton* ok = AddButton(QStringLiteral("Ok"), x, y, width, height);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { OnOk(); });
}

int SetupDialog::CheckedRadioButton() const {
  for (std::size_t place = 0; place < radio_buttons_.size(); ++place) {
    if (radio_buttons_[place]->isChecked()) return static_cast<int>(place) + 1;
  }
  return 0;
}

QString SetupDialog::FolderText() const { return folder_field_->text(); }

void SetupDialog::showEvent(QShowEvent* event) {
  // A checked button of an exclusive set cannot be unchecked directly.
  for (QRadioButton* radio : radio_buttons_) {
    radio->setAutoExclusive(false);
    radio->setChecked(false);
    radio->setAutoExclusive(true);
  }
  folder_field_->clear();
  accepted_folder_.clear();
  FixedDialog::showEvent(event);
}

void SetupDialog::OnOk() {
  const DialogAnswer answer = Answer();
  if (!answer.accepted) {
    accepted_folder_.clear();
    presenter_.Show(this, ProgramName(), ToQString(answer.message));
    return;
  }
  accepted_folder_ = answer.folder;
  accept();
}

std::filesystem::path WorkingFolder() {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? std::filesystem::path("/") : folder;
}

}  // namespace tarnvale::gui
