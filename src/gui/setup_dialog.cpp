// What both Qt setup dialogs share: radio buttons, the folder field with Browse, and an Ok that
// keeps the dialog open on a refused answer.

#include "gui/setup_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/desktop_session.h"

namespace tarnvale::gui {
namespace {

QString ChooseFolder(QWidget* parent, const QString& start) {
  return QFileDialog::getExistingDirectory(parent, QStringLiteral("Choose a folder"), start);
}

}  // namespace

SetupDialog::SetupDialog(MessagePresenter& presenter, const QString& title, QSize client_size,
                         QWidget* parent)
    : FixedDialog(title, client_size, parent),
      presenter_(presenter),
      choose_folder_(ChooseFolder) {}

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

void SetupDialog::AddBrowseButton(int x, int y, int width, int height) {
  QPushButton* browse = AddButton(QStringLiteral("Browse..."), x, y, width, height);
  browse->setAutoDefault(false);
  connect(browse, &QPushButton::clicked, this, [this] { OnBrowse(); });
}

void SetupDialog::Prefill(int place, const QString& folder) {
  prefilled_place_ = place;
  prefilled_folder_ = folder;
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
  // The field first: a choice may look at what it holds.
  folder_field_->setText(prefilled_folder_);
  if (prefilled_place_ > 0 && prefilled_place_ <= static_cast<int>(radio_buttons_.size())) {
    radio_buttons_[prefilled_place_ - 1]->setChecked(true);
  }
  accepted_folder_.clear();
  FixedDialog::showEvent(event);
}

void SetupDialog::OnBrowse() {
  const std::filesystem::path typed = BrowseStartFolder(FolderText().toStdString(), TypedFolder());
  const QString start = typed.empty() ? QDir::homePath() : QString::fromStdString(typed.string());
  const QString chosen = choose_folder_(this, start);
  if (!chosen.isEmpty()) folder_field_->setText(QDir::toNativeSeparators(chosen));
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

}  // namespace tarnvale::gui
