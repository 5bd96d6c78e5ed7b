// What both Qt setup dialogs share: radio buttons, the folder field with Browse, and an Ok that
// keeps the dialog open on a refused answer.

#include "gui/setup_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>

#include "app/desktop_session.h"

namespace tarnvale::gui {
namespace {

// The found items' part beneath the dialog's own controls.
constexpr int kFoundGroupOffset = -2;  // from the dialog's first height
constexpr int kFoundListOffset = 12;   // from the group's top
constexpr int kFoundBottomMargin = 6;
constexpr int kMaxFoundRows = 4;  // more scroll

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

void SetupDialog::AddFoundList(int x, int width, int client_height) {
  found_x_ = x;
  found_width_ = width;
  client_height_ = client_height;
  const int top = client_height + kFoundGroupOffset;
  found_group_ = AddGroupBox(QStringLiteral("Found on this computer (click one to use it)"), x, top,
                             width, 60);
  found_list_ = new QListWidget(Client());
  found_list_->setObjectName(QStringLiteral("FoundList"));
  found_list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  found_list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Layout().Place(found_list_, x + 6, top + kFoundListOffset, width - 12, 42);
  const auto use = [this](const QListWidgetItem* item) {
    UseFound(found_.at(static_cast<std::size_t>(found_list_->row(item))));
  };
  connect(found_list_, &QListWidget::itemClicked, this, use);
  connect(found_list_, &QListWidget::itemActivated, this, use);
}

void SetupDialog::ShowFound(const std::vector<FoundItem>& items) {
  found_ = items;
  found_list_->clear();
  for (const FoundItem& item : items) found_list_->addItem(item.label);
  found_group_->setVisible(!items.empty());
  found_list_->setVisible(!items.empty());
  if (items.empty()) {
    SetClientHeight(client_height_);
    return;
  }
  found_list_->ensurePolished();
  const int frame = 2 * found_list_->frameWidth();
  const int rows = std::min(static_cast<int>(items.size()), kMaxFoundRows);
  int pixels = rows * found_list_->sizeHintForRow(0) + frame;
  if (found_list_->sizeHintForColumn(0) > found_list_->width() - frame) {
    pixels += found_list_->horizontalScrollBar()->sizeHint().height();
  }
  const int base_y = Layout().Units().base_y;
  const int list_height = (pixels * 8 + base_y - 1) / base_y;
  const int top = client_height_ + kFoundGroupOffset;
  Layout().Move(found_list_, found_x_ + 6, top + kFoundListOffset, found_width_ - 12, list_height);
  const int group_bottom = top + kFoundListOffset + list_height + kFoundBottomMargin;
  Layout().Move(found_group_, found_x_, top, found_width_, group_bottom - top);
  SetClientHeight(group_bottom + 7);
}

void SetupDialog::UseFound(FoundItem item) {
  if (item.place > 0 && item.place <= static_cast<int>(radio_buttons_.size())) {
    radio_buttons_[static_cast<std::size_t>(item.place - 1)]->setChecked(true);
  }
  folder_field_->setText(item.folder);
  filled_ = item.folder;
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
  filled_.clear();
  if (found_list_) ShowFound({});
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
  const std::filesystem::path typed =
      BrowseStartFolder(FolderText().toStdString(), TypedFolder(), NearFolder());
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
