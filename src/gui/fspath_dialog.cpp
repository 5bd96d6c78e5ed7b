#include "gui/fspath_dialog.h"

namespace tarnvale::gui {

FSPath_Dialog::FSPath_Dialog(MessagePresenter& presenter, QWidget* parent)
    : SetupDialog(presenter, QStringLiteral("Getting Flight Simulator's Main Information"),
                  {261, 130}, parent) {
  AddGroupBox(QStringLiteral("Choose your Flight Simulator's version"), 7, 7, 247, 31);
  AddRadioButton(QStringLiteral("Microsoft Flight Simulator 2002"), 15, 21, 112, 10);
  AddRadioButton(QStringLiteral("Microsoft Flight Simulator 2004"), 137, 21, 112, 10);
  AddGroupBox(QStringLiteral("Enter your Microsoft Flight Simulator's main folder"), 7, 44, 247,
              54);
  AddFolderField(13, 63, 235, 12);
  AddText(QStringLiteral("Example: C:\\Program Files\\Microsoft Games\\Flight Simulator 9"), 14, 82,
          200, 9);
  AddOkButton(181, 105, 73, 18);
  FinishLayout();
}

FsVersion FSPath_Dialog::Version() const {
  switch (CheckedRadioButton()) {
    case 1:
      return FsVersion::Fs2002;
    case 2:
      return FsVersion::Fs2004;
    default:
      return FsVersion::None;
  }
}

DialogAnswer FSPath_Dialog::Answer() const {
  return CheckSimulatorAnswer(Version(), FolderText().toStdString(), WorkingFolder());
}

}  // namespace tarnvale::gui
