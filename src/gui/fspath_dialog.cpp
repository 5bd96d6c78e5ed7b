// The simulator dialog in Qt: the simulator's version, its folder, and the installs found for that
// version to pick from.

#include "gui/fspath_dialog.h"

#include <QRadioButton>
#include <array>
#include <vector>

#include "app/desktop_session.h"
#include "platform/paths.h"
#include "platform/wine_prefix.h"

namespace tarnvale::gui {
namespace {

namespace fs = std::filesystem;

constexpr int kClientWidth = 261;
constexpr int kClientHeight = 130;

SetupDialog::FoundItem ItemOf(const SimulatorInstall& install) {
  return {ToQString(SimulatorInstallLabel(install)), PlaceOfSimulator(install.version),
          ToQString(install.folder)};
}

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
  AddFolderField(13, 63, 183, 12);
  AddBrowseButton(200, 62, 48, 14);
  AddText(QStringLiteral("Example: C:\\Program Files\\Microsoft Games\\Flight Simulator 9"), 14, 82,
          200, 9);
  AddOkButton(181, 105, 73, 18);
  // Below the window's first bottom edge: seen only while installs are listed.
  AddFoundList(7, 247, kClientHeight);
  FinishLayout();

  for (std::size_t i = 0; i < versions.size(); ++i) {
    const FsVersion version = SimulatorAtPlace(static_cast<int>(i) + 1);
    connect(versions[i], &QRadioButton::toggled, this, [this, version](bool checked) {
      if (checked) LookForInstalls(version);
    });
  }
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

fs::path FSPath_Dialog::NearFolder() const { return target_folder_; }

// Before any version is chosen, the installs of both are offered; a single
// one found fills version and folder in when the settings record none.
void FSPath_Dialog::showEvent(QShowEvent* event) {
  SetupDialog::showEvent(event);
  const SimulatorOffer offer = OfferSimulatorInstalls(
      {Version(), platform::PathFromUtf8(FolderText().toStdString())}, target_folder_);
  if (offer.fill) UseFound(ItemOf(*offer.fill));
  std::vector<FoundItem> items;
  for (const SimulatorInstall& install : offer.listed) items.push_back(ItemOf(install));
  ShowFound(items);
}

// Choosing a version fills in its single install (unless the user typed
// something else) and lists its others.
void FSPath_Dialog::LookForInstalls(FsVersion version) {
  const FoundInstalls found = LookForSimulatorInstalls(
      version, target_folder_, FolderText().toStdString(), Filled().toStdString());
  if (found.fill) UseFound(ItemOf({version, *found.fill}));
  std::vector<FoundItem> items;
  for (const std::string& folder : found.listed) items.push_back(ItemOf({version, folder}));
  ShowFound(items);
}

}  // namespace tarnvale::gui
