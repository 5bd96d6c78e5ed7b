// The simulator dialog in Qt: the simulator's version, its folder, and the installs found for that
// version to pick from.

#include "gui/fspath_dialog.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>
#include <array>
#include <system_error>

#include "app/desktop_session.h"
#include "platform/wine_prefix.h"

namespace tarnvale::gui {
namespace {

namespace fs = std::filesystem;

// The dialog's own height, and the found installs' part beneath it.
constexpr int kClientWidth = 261;
constexpr int kClientHeight = 130;
constexpr int kFoundTop = 128;
constexpr int kFoundListTop = kFoundTop + 12;
constexpr int kFoundBottomMargin = 6;
constexpr int kMaxFoundRows = 4;  // more scroll

}  // namespace

QString SimulatorText(FsVersion version) { return ToQString(SimulatorName(version)); }

FSPath_Dialog::FSPath_Dialog(MessagePresenter& presenter, QWidget* parent)
    : SetupDialog(presenter, QStringLiteral("Getting Flight Simulator's Main Information"),
                  {kClientWidth, kClientHeight}, parent) {
  AddGroupBox(QStringLiteral("Choose your Flight Simulator's version"), 7, 7, 247, 31);
  const std::array<QRadioButton*, 2> versions = {
      AddRadioButton(SimulatorText(SimulatorAtPlace(1)), 15, 21, 112, 10),
      AddRadioButton(SimulatorText(SimulatorAtPlace(2)), 137, 21, 112, 10)};
  AddGroupBox(QStringLiteral("Enter your Microsoft Flight Simulator's main folder"), 7, 44, 247,
              54);
  folder_field_ = AddFolderField(13, 63, 183, 12);
  AddBrowseButton(200, 62, 48, 14);
  AddText(QStringLiteral("Example: C:\\Program Files\\Microsoft Games\\Flight Simulator 9"), 14, 82,
          200, 9);
  AddOkButton(181, 105, 73, 18);
  // Below the window's first bottom edge: seen only while installs are listed.
  found_group_ = AddGroupBox(QStringLiteral("Found on this computer (click one to use it)"), 7,
                             kFoundTop, 247, 60);
  found_list_ = new QListWidget(Client());
  found_list_->setObjectName(QStringLiteral("FoundList"));
  found_list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  found_list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Layout().Place(found_list_, 13, kFoundListTop, 235, 42);
  FinishLayout();
  found_group_->hide();
  found_list_->hide();

  for (std::size_t i = 0; i < versions.size(); ++i) {
    const FsVersion version = SimulatorAtPlace(static_cast<int>(i) + 1);
    connect(versions[i], &QRadioButton::toggled, this, [this, version](bool checked) {
      if (checked) LookForInstalls(version);
    });
  }
  connect(found_list_, &QListWidget::itemClicked, this,
          [this](const QListWidgetItem* item) { UseFound(item->text()); });
  connect(found_list_, &QListWidget::itemActivated, this,
          [this](const QListWidgetItem* item) { UseFound(item->text()); });
}

FsVersion FSPath_Dialog::Version() const { return SimulatorAtPlace(CheckedRadioButton()); }

void FSPath_Dialog::Prefill(FsVersion version, const QString& folder) {
  SetupDialog::Prefill(PlaceOfSimulator(version), folder);
}

// A relative folder is taken from the target folder, where the program
// stands when it asks for the simulator.
DialogAnswer FSPath_Dialog::Answer() const {
  return CheckSimulatorAnswer(Version(), FolderText().toStdString(), RelativeBase(),
                              target_folder_);
}

fs::path FSPath_Dialog::TypedFolder() const {
  return platform::ResolveTypedPath(FolderText().toStdString(), RelativeBase(), target_folder_);
}

fs::path FSPath_Dialog::RelativeBase() const {
  return target_folder_.empty() ? WorkingFolder() : target_folder_;
}

void FSPath_Dialog::showEvent(QShowEvent* event) {
  ShowFound({});
  filled_.clear();
  SetupDialog::showEvent(event);
}

void FSPath_Dialog::LookForInstalls(FsVersion version) {
  const FoundInstalls found = LookForSimulatorInstalls(
      version, target_folder_, FolderText().toStdString(), filled_.toStdString());
  if (found.fill) UseFound(ToQString(*found.fill));
  QStringList listed;
  for (const std::string& folder : found.listed) listed.append(ToQString(folder));
  ShowFound(listed);
}

void FSPath_Dialog::UseFound(const QString& text) {
  folder_field_->setText(text);
  filled_ = text;
}

void FSPath_Dialog::ShowFound(const QStringList& folders) {
  found_list_->clear();
  found_list_->addItems(folders);
  found_group_->setVisible(!folders.isEmpty());
  found_list_->setVisible(!folders.isEmpty());
  if (folders.isEmpty()) {
    SetClientHeight(kClientHeight);
    return;
  }
  found_list_->ensurePolished();
  const int frame = 2 * found_list_->frameWidth();
  const int rows = std::min(static_cast<int>(folders.size()), kMaxFoundRows);
  int pixels = rows * found_list_->sizeHintForRow(0) + frame;
  if (found_list_->sizeHintForColumn(0) > found_list_->width() - frame) {
    pixels += found_list_->horizontalScrollBar()->sizeHint().height();
  }
  const int base_y = Layout().Units().base_y;
  const int list_height = (pixels * 8 + base_y - 1) / base_y;
  Layout().Move(found_list_, 13, kFoundListTop, 235, list_height);
  const int group_bottom = kFoundListTop + list_height + kFoundBottomMargin;
  Layout().Move(found_group_, 7, kFoundTop, 247, group_bottom - kFoundTop);
  SetClientHeight(group_bottom + 7);
}

}  // namespace tarnvale::gui
